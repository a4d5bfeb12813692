#pragma once

#include "RunGuardedDialog.h"

#include <QStringList>
#include <functional>
#include <memory>

class BuscaResultado;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class Session;
struct SharedBatchState;

// What the result receipt ("Emite Relatório") prints.
struct ComprovanteResultado {
    QString cabecalho; // SiglaCertificador + " - " + NomeOCC
    QString numeroRemessa;
    QString arquivoResultado;
    QString codigo;     // "OK" or "NO"
    QStringList linhas; // MmResultado
};
// Prints the result receipt (the reports plug it in); until one is given "Emite Relatório" stays
// disabled.
using EmiteRelatorioResultado = std::function<void(QWidget* parent, const ComprovanteResultado& comprovante)>;

// "Recebe Resultado Automático": looks for the batch's result archive in the authority's result
// directory, downloads it into the synchronisation directory and processes its verdict: "OK"
// synchronises the replicas and records OK, "NO" records NO. The log of every step goes into
// MmResultado. The transfer runs on a worker thread, so the window keeps painting and
// "Interrompe" works; while it runs the window does not close.
class TFrmResultadoAutomatico : public RunGuardedDialog {
    Q_OBJECT
public:
    TFrmResultadoAutomatico(Session& session, SharedBatchState& state, const QString& arquivoRemessa,
                            QWidget* parent = nullptr);
    ~TFrmResultadoAutomatico() override;

    void setRelatorio(EmiteRelatorioResultado relatorio) { relatorio_ = std::move(relatorio); }

protected:
    bool isRunning() const override { return running_; }

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
    EmiteRelatorioResultado relatorio_;
    ComprovanteResultado comprovante_;

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
