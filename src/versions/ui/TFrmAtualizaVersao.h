#pragma once

#include "RunGuardedDialog.h"

#include <memory>

class AtualizaVersao;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class Session;

// "Controle de Versões - Atualiza Versão Atual": finds a version newer than the installed one on
// the authority's server ("Internet") or in a directory ("Arquivo Local"), fetches it into the
// reception directory and installs it. The transfer runs on a worker thread, so the window keeps
// painting and "Interrompe" works; from the start until the installation has ended the window does
// not close (Esc, the close button and "Saída" wait), so nothing else can write the same archive.
class TFrmAtualizaVersao : public RunGuardedDialog {
    Q_OBJECT
public:
    explicit TFrmAtualizaVersao(Session& session, QWidget* parent = nullptr);
    ~TFrmAtualizaVersao() override;

    bool instalou() const { return instalou_; }
    bool executando() const { return executando_; }

protected:
    bool isRunning() const override { return executando_; }

private:
    void tipoMudou();
    void browse();
    void atualiza();
    void interrompe();
    void instala(const QString& arquivo, const QString& versao, const QString& recepcao);

    Session& session_;
    QComboBox* CbTipo_;
    QGroupBox* grupoLocalizacao_;
    QLineEdit* EdLocalizacao_;
    QPushButton* BtBrowse_;
    QLabel* CkProcura_;
    QLabel* CkTransferindo_;
    QLineEdit* EdArquivoNovo_;
    QLineEdit* EdVersaoNova_;
    QProgressBar* PbTransferencia_;
    QPushButton* BtInterrompe_;
    QLabel* LbAtualiza_;
    QLabel* CkAtualiza_;
    QLineEdit* EdResultado_;
    QPushButton* BtAtualiza_;
    QPushButton* BtCancela_;
    QPushButton* BtSaida_;
    std::unique_ptr<AtualizaVersao> busca_;
    QString enderecoKavorel_;
    bool instalou_ = false;
    bool executando_ = false;
};
