#pragma once

#include "Signatarios.h"

#include <QWidget>

class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStandardItemModel;
class QTableView;
class Session;

// The panel "Signatários": the list of signatories, the edit group "Signatário (s)" with the
// default choice, and the buttons of the three operations.
class PanelSignatarios : public QWidget {
    Q_OBJECT
public:
    explicit PanelSignatarios(Session& session, QWidget* parent = nullptr);

    CadastroSignatarios& cadastro() { return cadastro_; }
    // Re-reads the list (qrySignatarios), keeping the current signatory when it still exists.
    void abre();

signals:
    void saida();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildUi();
    int idAtual() const;
    void mostraAtual();
    void aplicaModo();
    void incluir();
    void editar();
    void excluir();
    void aplicar();
    void cancelar();

    Session& session_;
    CadastroSignatarios cadastro_;
    QList<Signatario> linhas_;
    QStandardItemModel* model_;
    QTableView* grid_;
    QGroupBox* grupo_;
    QLineEdit* nome_;
    QGroupBox* grupoDefault_;
    QRadioButton* sim_;
    QRadioButton* nao_;
    QPushButton* aplica_;
    QPushButton* cancela_;
    QPushButton* inclui_;
    QPushButton* edita_;
    QPushButton* exclui_;
};
