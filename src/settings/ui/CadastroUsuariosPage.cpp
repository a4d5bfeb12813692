#include "CadastroUsuariosPage.h"
#include "Controls.h"

#include "DbError.h"
#include "DialogParts.h"
#include "Prompts.h"
#include "Session.h"
#include "TDMCapaSistema.h"
#include "UsuLocal.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString ErroEdicao = QStringLiteral("Erro de Edição");

// The seven permissions: column, check box, its caption, the list's column title.
struct PermissionColumn {
    const char* column;
    bool Permissions::*flag;
    const char* checkBox;
    QString caption;
    QString title;
};

const PermissionColumn permissionColumns[] = {
    {"AcConfigOCC", &Permissions::AcConfigOCC, "dbcOCC", QStringLiteral("Configuração do Certificador?"),
     QStringLiteral("Certificador")},
    {"AcConfigDir", &Permissions::AcConfigDir, "dbcDir", QStringLiteral("Configuração de Diretórios?"),
     QStringLiteral("Diretórios")},
    {"AcCadastraUsu", &Permissions::AcCadastraUsu, "dbcUsuarios", QStringLiteral("Cadastro de Usuários?"),
     QStringLiteral("Usuários")},
    {"AcManBase", &Permissions::AcManBase, "dbcManBaseDados", QStringLiteral("Manutenção da Base de Dados?"),
     QStringLiteral("Base de Dados")},
    {"AcAtualTabAux", &Permissions::AcAtualTabAux, "dbcAtualizTabKavorel",
     QStringLiteral("Atualização de Tabelas Kavorel?"), QStringLiteral("Tabelas")},
    {"AcContRemessas", &Permissions::AcContRemessas, "dbcContRemessas",
     QStringLiteral("Controle de Remessas?"), QStringLiteral("Remessas")},
    {"AcAprovCertific", &Permissions::AcAprovCertific, "dbcAprovaCert",
     QStringLiteral("Aprova Certificados?"), QStringLiteral("Aprovação de Certificados")},
};

QString listQuery() {
    QString sql = QStringLiteral("SELECT SiglaUsu, NomeUsu");
    for (const PermissionColumn& p : permissionColumns)
        sql += QStringLiteral(", IIF(%1, 'Sim', 'Não') AS Dsc%1").arg(QLatin1String(p.column));
    return sql + QStringLiteral(" FROM USU_LOCAL ORDER BY SiglaUsu");
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

QLineEdit* lineEdit(QWidget* parent, const char* name, int maxLength = 32767) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setMaxLength(maxLength);
    return e;
}

} // namespace

CadastroUsuariosPage::CadastroUsuariosPage(Session& session, TDMCapaSistema& dm, QWidget* parent)
    : QWidget(parent), session_(session), dm_(dm), model_(new QSqlQueryModel(this)),
      dbgUsuario_(new QTableView(this)), bbtIncluir_(button(this, "bbtIncluir", QStringLiteral("&Incluir"))),
      bbtEditar_(button(this, "bbtEditar", QStringLiteral("&Editar"))),
      bbtExcluir_(button(this, "bbtExcluir", QStringLiteral("E&xcluir "))),
      btnListagem_(button(this, "btnListagem", QStringLiteral("&Listagem"))),
      grbDados_(new QGroupBox(QStringLiteral("Dados do Usuário"), this)),
      dbeSigla_(lineEdit(grbDados_, "dbeSigla", 10)), dbeNome_(lineEdit(grbDados_, "dbeNome", 30)),
      edtSenha_(DialogParts::passwordEdit(grbDados_, "edtSenha")),
      edtConfirma_(DialogParts::passwordEdit(grbDados_, "edtConfirma")),
      bbtOK_(button(grbDados_, "bbtOK", QStringLiteral("&Ok"))),
      bbtCancela_(button(grbDados_, "bbtCancela", QStringLiteral("&Cancela"))) {
    setObjectName(QStringLiteral("CadastroUsuarios"));
    grbDados_->setObjectName(QStringLiteral("grbDados"));
    dbgUsuario_->setObjectName(QStringLiteral("dbgUsuario"));
    dbgUsuario_->setModel(model_);
    dbgUsuario_->setSelectionBehavior(QAbstractItemView::SelectRows);
    dbgUsuario_->setSelectionMode(QAbstractItemView::SingleSelection);
    dbgUsuario_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    dbgUsuario_->verticalHeader()->hide();
    Controls::name(dbgUsuario_, QStringLiteral("Usuários"));
    Controls::showRows(dbgUsuario_);
    Controls::fitColumns(dbgUsuario_);
    // The report of users plugs in with setListagem(); until then the button stays disabled.
    btnListagem_->setEnabled(false);
    auto* btnExit = button(this, "btnExit", QStringLiteral("&Saída"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Sigla do &Usuário"), dbeSigla_);
    form->addRow(QStringLiteral("&Nome do Usuário"), dbeNome_);
    form->addRow(QStringLiteral("Sen&ha do Usuário"), edtSenha_);
    form->addRow(QStringLiteral("Con&firma Senha"), edtConfirma_);
    form->addRow(new QLabel(QStringLiteral("Controle de Acessos:"), grbDados_));
    for (const PermissionColumn& p : permissionColumns) {
        auto* box = new QCheckBox(p.caption, grbDados_);
        box->setObjectName(QString::fromLatin1(p.checkBox));
        form->addRow(box);
        permissionBoxes_.append(box);
    }
    auto* dataButtons = new QHBoxLayout;
    dataButtons->addStretch();
    dataButtons->addWidget(bbtOK_);
    dataButtons->addWidget(bbtCancela_);
    auto* dataLayout = new QVBoxLayout(grbDados_);
    dataLayout->addLayout(form);
    dataLayout->addLayout(dataButtons);

    auto* listButtons = new QHBoxLayout;
    for (QPushButton* b : {bbtIncluir_, bbtEditar_, bbtExcluir_, btnListagem_, btnExit})
        listButtons->addWidget(b);
    auto* group = new QGroupBox(QStringLiteral("Cadastro de Usuários"), this);
    auto* groupLayout = new QHBoxLayout(group);
    auto* left = new QVBoxLayout;
    left->addWidget(dbgUsuario_, 1);
    left->addLayout(listButtons);
    groupLayout->addLayout(left, 3);
    groupLayout->addWidget(grbDados_, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);

    connect(btnListagem_, &QPushButton::clicked, this, [this] {
        if (listagem_)
            listagem_(this);
    });
    connect(bbtIncluir_, &QPushButton::clicked, this, &CadastroUsuariosPage::include);
    connect(bbtEditar_, &QPushButton::clicked, this, &CadastroUsuariosPage::edit);
    connect(bbtExcluir_, &QPushButton::clicked, this, &CadastroUsuariosPage::remove);
    connect(bbtOK_, &QPushButton::clicked, this, &CadastroUsuariosPage::confirm);
    connect(bbtCancela_, &QPushButton::clicked, this, &CadastroUsuariosPage::cancel);
    connect(btnExit, &QPushButton::clicked, this, [this] {
        cancel();
        emit finished();
    });
    setState(State::Browse);
}

void CadastroUsuariosPage::open() {
    refresh();
    setState(State::Browse);
}

void CadastroUsuariosPage::refresh(const QString& selectSigla) {
    QSqlQuery query(dm_.database());
    if (!query.exec(listQuery()))
        throw DbError(query.lastError().text());
    model_->setQuery(std::move(query));
    const QStringList titles = {QStringLiteral("Sigla"), QStringLiteral("Nome do Usuário")};
    for (int i = 0; i < titles.size(); ++i)
        model_->setHeaderData(i, Qt::Horizontal, titles[i]);
    for (int i = 0; i < int(std::size(permissionColumns)); ++i)
        model_->setHeaderData(i + 2, Qt::Horizontal, permissionColumns[i].title);
    int row = 0;
    for (int r = 0; r < model_->rowCount(); ++r)
        if (model_->index(r, 0).data().toString() == selectSigla)
            row = r;
    if (model_->rowCount() > 0)
        dbgUsuario_->selectRow(row);
}

QString CadastroUsuariosPage::currentSigla() const {
    const QModelIndex current = dbgUsuario_->currentIndex();
    return current.isValid() ? model_->index(current.row(), 0).data().toString() : QString();
}

void CadastroUsuariosPage::setListagem(std::function<void(QWidget*)> listagem) {
    listagem_ = std::move(listagem);
    setState(state_);
}

void CadastroUsuariosPage::setState(State state) {
    state_ = state;
    const bool browsing = state == State::Browse;
    dbgUsuario_->setEnabled(browsing);
    bbtIncluir_->setEnabled(browsing);
    bbtEditar_->setEnabled(browsing);
    bbtExcluir_->setEnabled(browsing);
    btnListagem_->setEnabled(browsing && bool(listagem_));
    grbDados_->setEnabled(!browsing);
    const bool isAdmin = state == State::Edit && editedSigla_ == UsuLocalTable::Administrador;
    dbeSigla_->setEnabled(!browsing && !isAdmin);
    dbeNome_->setEnabled(!browsing);
    // Passwords are set on inclusion only; afterwards they change in the password dialog.
    edtSenha_->setEnabled(state == State::Insert);
    edtConfirma_->setEnabled(state == State::Insert);
    for (QCheckBox* box : permissionBoxes_)
        box->setEnabled(!browsing && !isAdmin);
    bbtOK_->setEnabled(!browsing);
    bbtCancela_->setEnabled(!browsing);
    if (browsing) {
        edtSenha_->clear();
        edtConfirma_->clear();
    }
}

void CadastroUsuariosPage::include() {
    if (dm_.siglaCertificador().isEmpty()) {
        session_.prompts().error(QStringLiteral("As configuraçãoes do Certificador não foram cadastradas."),
                                 ErroEdicao);
        return;
    }
    editedSigla_.clear();
    dbeSigla_->clear();
    dbeNome_->clear();
    for (QCheckBox* box : permissionBoxes_)
        box->setChecked(false);
    setState(State::Insert);
    dbeSigla_->setFocus();
}

void CadastroUsuariosPage::edit() {
    const std::optional<Usuario> user = UsuLocalTable::find(dm_.database(), currentSigla());
    if (!user)
        return;
    editedSigla_ = user->SiglaUsu;
    dbeSigla_->setText(user->SiglaUsu);
    dbeNome_->setText(user->NomeUsu);
    for (int i = 0; i < permissionBoxes_.size(); ++i)
        permissionBoxes_[i]->setChecked(user->permissions.*permissionColumns[i].flag);
    setState(State::Edit);
    (editedSigla_ == UsuLocalTable::Administrador ? dbeNome_ : dbeSigla_)->setFocus();
}

void CadastroUsuariosPage::remove() {
    const QString sigla = currentSigla();
    if (sigla.isEmpty())
        return;
    if (sigla == UsuLocalTable::Administrador) {
        session_.prompts().error(QStringLiteral("O Administrador não pode ser excluído."),
                                 QStringLiteral("Erro de Exclusão"));
        return;
    }
    if (!session_.prompts().confirm(QStringLiteral("Deseja excluir o usuário?"),
                                    QStringLiteral("Exclusão de Usuários")))
        return;
    UsuLocalTable::remove(dm_.database(), sigla);
    refresh();
}

void CadastroUsuariosPage::confirm() {
    if (dbeSigla_->text().trimmed().isEmpty()) {
        session_.prompts().error(
            QStringLiteral(
                "O campo Sigla do Usuário não pode ser deixado em branco. Reveja as suas edições."),
            ErroEdicao);
        dbeSigla_->setFocus();
        return;
    }
    if (state_ == State::Edit)
        saveEdited();
    else
        saveNew();
}

void CadastroUsuariosPage::saveEdited() {
    std::optional<Usuario> user = UsuLocalTable::find(dm_.database(), editedSigla_);
    if (!user) { // removed meanwhile
        cancel();
        return;
    }
    user->NomeUsu = dbeNome_->text();
    if (editedSigla_ != UsuLocalTable::Administrador) {
        user->SiglaUsu = dbeSigla_->text().trimmed();
        for (int i = 0; i < permissionBoxes_.size(); ++i)
            user->permissions.*permissionColumns[i].flag = permissionBoxes_[i]->isChecked();
    }
    try {
        UsuLocalTable::update(dm_.database(), editedSigla_, *user);
    } catch (const DbError& e) {
        if (!e.isKeyViolation())
            throw;
        showDuplicate();
        return;
    }
    setState(State::Browse);
    refresh(user->SiglaUsu);
}

void CadastroUsuariosPage::saveNew() {
    if (const QString problem = DialogParts::checkNewPassword(edtSenha_, edtConfirma_); !problem.isEmpty()) {
        session_.prompts().error(problem);
        return;
    }
    const QString senha = edtSenha_->text().trimmed();
    Usuario user;
    user.SiglaUsu = dbeSigla_->text().trimmed();
    user.SiglaCertificador = dm_.siglaCertificador();
    user.NomeUsu = dbeNome_->text().isEmpty() ? user.SiglaUsu : dbeNome_->text();
    user.SenhaUsu = Senhas::embaralha(senha);
    for (int i = 0; i < permissionBoxes_.size(); ++i)
        user.permissions.*permissionColumns[i].flag = permissionBoxes_[i]->isChecked();
    try {
        UsuLocalTable::insert(dm_.database(), user);
    } catch (const DbError& e) {
        if (!e.isKeyViolation())
            throw;
        showDuplicate();
        setState(State::Browse);
        refresh(user.SiglaUsu);
        return;
    }
    setState(State::Browse);
    refresh(user.SiglaUsu);
}

void CadastroUsuariosPage::showDuplicate() {
    session_.prompts().error(QStringLiteral("Esse usuário já está cadastrado."));
}

void CadastroUsuariosPage::cancel() {
    setState(State::Browse);
    refresh(editedSigla_);
}
