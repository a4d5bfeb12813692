#pragma once

#include "EntregaWidgets.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QStandardItemModel;
class QTableView;
class Session;
struct SharedBatchState;

// "Transfere arquivo TXT ": the certifier's text files of a chosen directory, the register of the
// text files already sent, and the hand-over of the selected file to the delivery-mode choice.
// A file already registered is never sent again.
class TFrmEnviaTXT_FTP : public QDialog {
    Q_OBJECT
public:
    TFrmEnviaTXT_FTP(Session& session, SharedBatchState& state, QWidget* parent = nullptr);

    void setComprovante(EntregaWidgets::EmiteComprovante comprovante) {
        comprovante_ = std::move(comprovante);
    }

    // The directory whose files are listed (with the trailing "/").
    QString diretorio() const { return diretorio_; }
    void setDiretorio(const QString& diretorio);
    // Reopens the register grid (QryControle_TXT).
    void atualizaRegistro();

private:
    void listaArquivos();
    void entraDiretorio(QListWidgetItem* item);
    void BtTransfereClick();

    Session& session_;
    SharedBatchState& state_;
    EntregaWidgets::EmiteComprovante comprovante_;
    QString sigla_;
    QString diretorio_;

    QComboBox* DriveComboBox1_;
    QLabel* LbDiretorio_;
    QListWidget* DirectoryListBox1_;
    QListWidget* LbarquivoTXT_;
    QPushButton* BtTransfere_;
    QStandardItemModel* QryControle_TXT_;
    QTableView* GrControleTXT_;
    QPushButton* BitBtn1_;
};
