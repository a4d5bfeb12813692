#pragma once

#include "ImportacaoTxt.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QProgressBar;
class QPushButton;

// "Importador de arquivo txt": imports every "TX-" file of the chosen directory, one transaction per
// file, showing the records of the batch being applied, the lines read, the records written and the
// certificates marked complete. The logs of a failed file stay beside it. Choosing a directory never
// changes the process's current directory.
class TfrmImporta : public QDialog {
    Q_OBJECT
public:
    TfrmImporta(ImportacaoTxt::Parametros parametros, QString diretorioInicial, QWidget* parent = nullptr);

    QString diretorio() const { return diretorio_; }
    void mudaDiretorio(const QString& caminho);

    // "Importar para o Banco de dados".
    void importa();
    // "&Novo Processamento": back to the initial state.
    void novoProcessamento();

private:
    QWidget* montaDiretorios();
    QWidget* montaAndamento();
    void atualizaArquivos();
    void entraEm(QListWidgetItem* item);
    void habilitaEscolha(bool habilita);

    ImportacaoTxt importacao_;
    Prompts* prompts_;
    QString diretorioInicial_;
    QString diretorio_;

    QComboBox* drives_ = nullptr;
    QLabel* lblDiretorio_ = nullptr;
    QListWidget* diretorios_ = nullptr;
    QListWidget* arquivos_ = nullptr;
    QListWidget* importadas_ = nullptr;
    QListWidget* avisos_ = nullptr;
    QProgressBar* pbImportaTxt_ = nullptr;
    QProgressBar* pbAtualizaBD_ = nullptr;
    QProgressBar* pbCertCompleto_ = nullptr;
    QCheckBox* ckAtualiza_ = nullptr;
    QCheckBox* ckCertCompleto_ = nullptr;
    QPushButton* btImportar_ = nullptr;
    QPushButton* btNovo_ = nullptr;
    QPushButton* btSair_ = nullptr;
    QPushButton* btErros_ = nullptr;
    int gravadosNoLote_ = 0;
};
