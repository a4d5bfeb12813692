#pragma once

#include "TFrmResultadoAutomatico.h"

#include <QDialog>

class QLineEdit;
class QRadioButton;
class Session;
struct SharedBatchState;

// "Seleção de Modo de Recebimento": the result is fetched from the authority's FTP server
// (TFrmResultadoAutomatico) or typed as the confirmation code (TFrmResultadoManual). BtOK opens the
// chosen screen modally and closes this one afterwards.
class TFrmSelecaoResultado : public QDialog {
    Q_OBJECT
public:
    TFrmSelecaoResultado(Session& session, SharedBatchState& state, const QString& arquivoRemessa,
                         QWidget* parent = nullptr);

    // The receipt of the automatic screen's "Emite Relatório".
    void setRelatorio(EmiteRelatorioResultado relatorio) { relatorio_ = std::move(relatorio); }

private:
    void BtOKClick();

    Session& session_;
    SharedBatchState& state_;
    QRadioButton* RbFTP_;
    QRadioButton* RbManual_;
    QLineEdit* EdArquivoRemessa_;
    EmiteRelatorioResultado relatorio_;
};
