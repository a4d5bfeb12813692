#pragma once

#include <QDialog>
#include <memory>

class BuscaResultado;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class Session;
struct SharedBatchState;

// "Recebe Resultado Automático": looks for the batch's result archive in the authority's result
// directory, downloads it into the synchronisation directory and processes its verdict: "OK"
// synchronises the replicas and records OK, "NO" records NO. The log of every step goes into
// MmResultado. The transfer runs on a worker thread, so the window keeps painting and
// "Interrompe" works; while it runs the window does not close.
class TFrmResultadoAutomatico : public QDialog {
    Q_OBJECT
public:
    TFrmResultadoAutomatico(Session& session, SharedBatchState& state, const QString& arquivoRemessa,
                            QWidget* parent = nullptr);
    ~TFrmResultadoAutomatico() override;

    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BtResultadoClick();
    void BtInterrompeClick();
    void processa(const QString& caminho);
    void log(const QString& linha);

    Session& session_;
    SharedBatchState& state_;
    QString arquivoRemessa_;
    std::unique_ptr<BuscaResultado> busca_;
    bool running_ = false;
    bool interrompido_ = false;

    QLineEdit* EdEndResultado_;
    QLabel* CkInformacoes_;
    QLabel* CkTransferencia_;
    QPushButton* BtInterrompe_;
    QProgressBar* PbTransferencia_;
    QLineEdit* EdArquivoDownload_;
    QPlainTextEdit* MmResultado_;
    QPushButton* BtRelatorio_;
    QLabel* LbSincroniza_;
    QLabel* CkSincroniza_;
    QPushButton* BtResultado_;
    QPushButton* BtCancela_;
    QPushButton* BtSaida_;
};
