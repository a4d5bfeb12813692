#pragma once

#include "EntregaWidgets.h"
#include "GravaDisquete.h"
#include "RunGuardedDialog.h"

#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class Session;
struct SharedBatchState;

// "Grava Disquete": the file copied into a chosen directory (a floppy disk or any removable medium
// mounted there), to be delivered by hand. The copy runs on a worker while the window keeps
// painting; "Interrompe" stops it and leaves nothing behind.
class TFrmGravaDisquete : public RunGuardedDialog {
    Q_OBJECT
public:
    TFrmGravaDisquete(Session& session, SharedBatchState& state, const QString& arquivo,
                      QWidget* parent = nullptr);

    void setComprovante(EntregaWidgets::EmiteComprovante comprovante);
    // The file system query of the copy (tests give a small medium).
    void setConsultaEspaco(GravaDisquete::ConsultaEspaco consulta) { consulta_ = std::move(consulta); }

    GravaDisquete::Desfecho desfecho() const { return desfecho_; }

protected:
    bool isRunning() const override { return gravando_; }

private:
    void BtBrowseClick();
    void BtGravaClick();
    void BtInterrompeClick();
    void BtComprovanteClick();

    Session& session_;
    SharedBatchState& state_;
    std::unique_ptr<GravaDisquete> gravacao_;
    GravaDisquete::ConsultaEspaco consulta_;
    GravaDisquete::Desfecho desfecho_ = GravaDisquete::Desfecho::NaoIniciada;
    bool gravando_ = false;
    EntregaWidgets::EmiteComprovante comprovante_;

    QLineEdit* EdDiretorio_;
    QLineEdit* EdArquivoTransferencia_;
    QLineEdit* EdDestino_;
    QLineEdit* EdResultado_;
    QLabel* CkGravando_;
    QPushButton* BtBrowse_;
    QPushButton* BtGrava_;
    QPushButton* BtInterrompe_;
    QPushButton* BtComprovante_;
    QPushButton* BtSaida_;
    QPushButton* btCancela_;
};
