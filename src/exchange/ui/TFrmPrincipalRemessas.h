#pragma once

#include "BatchControl.h"

#include <QDialog>
#include <QList>
#include <functional>
#include <optional>

class QLabel;
class QPushButton;
class QStandardItemModel;
class QTableView;
class Session;
struct SharedBatchState;

// "Controle de Remessas": the batches with their status, the events of the selected batch, and the
// operations the selected batch's state allows (prepare, deliver, fetch the result, cancel), with
// the clearing and the listing of the history.
//
// Delivery, result retrieval and the history listing come with other parts of the program: each
// plugs in with its set...() below, and until it does its button stays disabled whatever the
// batch's state, so no button leads nowhere.
class TFrmPrincipalRemessas : public QDialog {
    Q_OBJECT
public:
    TFrmPrincipalRemessas(Session& session, SharedBatchState& state, QWidget* parent = nullptr);

    // Operations of the sub-screens; they find the batch in the shared state (number and type) and
    // the archive name as argument ("OC-"/"OT-" + acronym + number + ".zip", empty for another type).
    using SubScreen = std::function<void(QWidget* parent, const QString& arquivo)>;
    void setTransfere(SubScreen operation);
    void setRecebe(SubScreen operation);
    void setListagem(std::function<void(QWidget* parent)> operation);

    // Loads the shared batch state and rebuilds the list (what activating the screen does).
    void FormActivate();
    // Rebuilds Controle_Temp and shows it, the most recent batch selected.
    void AtualizaListaRemessas();

    // The selected batch, if any.
    std::optional<BatchListRow> remessaSelecionada() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void DsControle_TempDataChange();
    void BtPreparaClick();
    void BtTransfereClick();
    void BtRecebeClick();
    void BtCancelaClick();
    void BtLimpaClick();
    void BtListagemClick();
    void selecionaRemessa(const BatchListRow& row);
    QString arquivoDaRemessa(const BatchListRow& row) const;
    void voltaParaLista();

    Session& session_;
    SharedBatchState& state_;
    BatchControl control_;
    QList<BatchListRow> remessas_;
    bool refreshing_ = false;
    bool activated_ = false;
    SubScreen transfere_;
    SubScreen recebe_;
    std::function<void(QWidget*)> listagem_;

    QStandardItemModel* controleTemp_;
    QStandardItemModel* qrEventos_;
    QTableView* GrRemessa_;
    QTableView* GrEventos_;
    QPushButton* BtPrepara_;
    QPushButton* BtTransfere_;
    QPushButton* BtRecebe_;
    QPushButton* BtCancela_;
    QPushButton* BtLimpa_;
    QPushButton* BtListagem_;
    QPushButton* BtSaida_;
};
