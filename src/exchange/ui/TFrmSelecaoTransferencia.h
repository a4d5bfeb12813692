#pragma once

#include "EntregaWidgets.h"

#include <QDialog>

class QButtonGroup;
class QGroupBox;
class QLineEdit;
class QPushButton;
class Session;
struct SharedBatchState;

// "Seleção do Modo de Transferência": how the file goes (FTP, media, e-mail). "Ok" opens the
// chosen delivery screen modally and closes itself when that screen closes.
class TFrmSelecaoTransferencia : public QDialog {
    Q_OBJECT
public:
    // `arquivo` is the name shown in EdArquivoTransferencia (a batch archive or a text file); the
    // directory is the shared transfer directory.
    TFrmSelecaoTransferencia(Session& session, SharedBatchState& state, const QString& arquivo,
                             QWidget* parent = nullptr);

    // Handed to the delivery screen.
    void setComprovante(EntregaWidgets::EmiteComprovante comprovante) {
        comprovante_ = std::move(comprovante);
    }

    // The items of RgSelecao, in order.
    static const QStringList& modos();

private:
    void BtOKClick();

    Session& session_;
    SharedBatchState& state_;
    EntregaWidgets::EmiteComprovante comprovante_;
    QLineEdit* EdDiretorio_;
    QLineEdit* EdArquivoTransferencia_;
    QGroupBox* RgSelecao_;
    QButtonGroup* selecao_;
    QPushButton* BtOK_;
    QPushButton* BtCancela_;
};
