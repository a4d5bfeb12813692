#pragma once

#include <QWidget>
#include <functional>

class Session;
class TDMCapaSistema;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QSqlQueryModel;
class QTableView;

// The page "CadastroUsuarios": the list of users and the data of one, in browse, edit or insert
// state. The administrator "admin" cannot be deleted and only its full name can be edited.
class CadastroUsuariosPage : public QWidget {
    Q_OBJECT
public:
    enum class State { Browse, Edit, Insert };

    CadastroUsuariosPage(Session& session, TDMCapaSistema& dm, QWidget* parent = nullptr);

    void open();
    State state() const { return state_; }
    // "&Listagem": the report of users, given by the reports; disabled until given.
    void setListagem(std::function<void(QWidget* parent)> listagem);

signals:
    void finished(); // back to the main page

private:
    void refresh(const QString& selectSigla = {});
    QString currentSigla() const;
    void setState(State state);
    void include();
    void edit();
    void remove();
    void confirm();
    void cancel();
    void saveNew();
    void saveEdited();
    void showDuplicate();

    Session& session_;
    TDMCapaSistema& dm_;
    State state_ = State::Browse;
    QString editedSigla_;
    std::function<void(QWidget*)> listagem_;
    QSqlQueryModel* model_;
    QTableView* dbgUsuario_;
    QPushButton* bbtIncluir_;
    QPushButton* bbtEditar_;
    QPushButton* bbtExcluir_;
    QPushButton* btnListagem_;
    QGroupBox* grbDados_;
    QLineEdit* dbeSigla_;
    QLineEdit* dbeNome_;
    QLineEdit* edtSenha_;
    QLineEdit* edtConfirma_;
    QList<QCheckBox*> permissionBoxes_;
    QPushButton* bbtOK_;
    QPushButton* bbtCancela_;
};
