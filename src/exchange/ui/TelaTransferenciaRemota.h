#pragma once

#include "EntregaWidgets.h"
#include "RunGuardedDialog.h"
#include "TransferenciaRemota.h"

#include <memory>

class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class Session;
struct SharedBatchState;

// The screen both network deliveries share: the file, the destination, "Transfere", the
// interruption, the progress from the client's byte counts, the result log, the receipt. The
// transfer runs on a worker while the window keeps painting; the window cannot be closed
// meanwhile. It runs once: after a start, "Transfere" stays disabled and the screen is left with
// "Saída".
class TelaTransferenciaRemota : public RunGuardedDialog {
    Q_OBJECT
public:
    void setComprovante(EntregaWidgets::EmiteComprovante comprovante);

    // What the last start gave (NaoIniciada before any).
    TransferenciaRemota::Desfecho desfecho() const { return desfecho_; }
    bool transferindo() const { return transferindo_; }

protected:
    TelaTransferenciaRemota(Session& session, SharedBatchState& state, ModoEntrega modo,
                            const QString& arquivo, QWidget* parent);

    bool isRunning() const override { return transferindo_; }

private:
    void BtTransfereClick();
    void BtInterrompeClick();
    void BtComprovanteClick();
    void linha(const QString& texto);

    Session& session_;
    SharedBatchState& state_;
    ModoEntrega modo_;
    std::unique_ptr<TransferenciaRemota> transferencia_;
    TransferenciaRemota::Desfecho desfecho_ = TransferenciaRemota::Desfecho::NaoIniciada;
    bool transferindo_ = false;
    EntregaWidgets::EmiteComprovante comprovante_;

    QLineEdit* EdDiretorio_;
    QLineEdit* EdArquivoTransferencia_;
    QLineEdit* EdTamanho_;
    QLineEdit* EdTransferidos_;
    QProgressBar* PbTransferencia_;
    QPlainTextEdit* MmResultado_;
    QPushButton* BtTransfere_;
    QPushButton* BtInterrompe_;
    QPushButton* BtComprovante_;
    QPushButton* BtSaida_;
    QPushButton* BtCancela_;
};
