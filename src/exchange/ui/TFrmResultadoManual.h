#pragma once

#include "RunGuardedDialog.h"

#include <functional>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class Session;
struct SharedBatchState;

// "Recebe Resultado Manual": the confirmation code the authority gave out is checked against the
// batch list, confirmed in TFrmConfResultadoManual, and processed as the automatic result is
// ("OK" synchronises and records OK, "NO" records NO), with the remarks typed here.
class TFrmResultadoManual : public RunGuardedDialog {
    Q_OBJECT
public:
    TFrmResultadoManual(Session& session, SharedBatchState& state, const QString& arquivoRemessa,
                        QWidget* parent = nullptr);

    // How the confirmation is asked (TFrmConfResultadoManual, modal, by default); true when confirmed.
    using Confirmacao = std::function<bool(QWidget* parent, const QString& resultado)>;
    void setConfirmacao(Confirmacao confirmacao) { confirmacao_ = std::move(confirmacao); }

protected:
    bool isRunning() const override { return running_; }

private:
    void BtOKClick();

    Session& session_;
    SharedBatchState& state_;
    QString arquivoRemessa_;
    Confirmacao confirmacao_;
    bool running_ = false;

    QLineEdit* Edit1_;
    QPlainTextEdit* MmObservacoes_;
    QPushButton* BtOK_;
    QPushButton* BtCancelar_;
    QLabel* LbSincroniza_;
    QLabel* CkSincroniza_;
    QPushButton* BtSaida_;
};
