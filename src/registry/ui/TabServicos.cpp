#include "TabServicos.h"
#include "Controls.h"
#include "Widgets.h"

#include "DataDigitada.h"
#include "DateMaskEdit.h"
#include "DbError.h"
#include "GrupoStatus.h"
#include "Prompts.h"
#include "Session.h"
#include "Sql.h"
#include "TDMCertif.h"
#include "TFrmSelEmpCert.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSqlQueryModel>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// Columns of the grid's statement.
enum Coluna { ColClasse, ColSigla, ColNum, ColPais, ColEmpresa, ColNomeClasse, ColNomeEmpresa };

constexpr int MaxObservacoes = 255;

std::optional<std::pair<QString, QString>> escolhePeloDialogo(Session& session, QWidget* parent,
                                                              const QString& sigla, const QString& numero) {
    TFrmSelEmpCert dialog(session, sigla, numero, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.escolhida();
}

} // namespace

TabServicos::TabServicos(TDMCertif& dm, QWidget* parent) : QWidget(parent), dm_(dm), editor_(dm) {
    setObjectName(QStringLiteral("ServicosCertificado"));
    escolhe_ = [this](QWidget* p, const QString& sigla, const QString& numero) {
        return escolhePeloDialogo(dm_.session(), p, sigla, numero);
    };
    buildUi();
    aplicaModo();
}

void TabServicos::buildUi() {
    auto* layout = new QVBoxLayout(this);

    model_ = new QSqlQueryModel(this);
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("DBGridServicos"));
    grid_->setModel(model_);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->verticalHeader()->hide();
    Controls::name(grid_, QStringLiteral("Serviços"));
    Controls::showRows(grid_);
    Controls::fitColumns(grid_);
    // The list beside the editor, so that both fit a screen's height.
    auto* corpo = new QHBoxLayout;
    corpo->addWidget(grid_, 1);
    layout->addLayout(corpo, 1);

    grupoServico_ = new QGroupBox(QStringLiteral("Serviço Certificado"), this);
    grupoServico_->setObjectName(QStringLiteral("GroupServico"));
    auto* form = new QFormLayout;
    classe_ = new QComboBox(grupoServico_);
    classe_->setObjectName(QStringLiteral("cmbClasseServico"));
    pais_ = new QLineEdit(grupoServico_);
    pais_->setObjectName(QStringLiteral("edtPaisServico"));
    cnpj_ = new QLineEdit(grupoServico_);
    cnpj_->setObjectName(QStringLiteral("edtCNPJServico"));
    razaoSocial_ = new QLineEdit(grupoServico_);
    razaoSocial_->setObjectName(QStringLiteral("edtRazSocialServico"));
    for (QLineEdit* e : {pais_, cnpj_, razaoSocial_})
        e->setReadOnly(true);
    observacoes_ = new QPlainTextEdit(grupoServico_);
    observacoes_->setObjectName(QStringLiteral("memObsServico"));
    // A few lines high, never less than the edit needs to show itself.
    observacoes_->setMaximumHeight(
        std::max(observacoes_->minimumSizeHint().height(), 4 * observacoes_->fontMetrics().lineSpacing()));
    dataEntrada_ = new DateMaskEdit(grupoServico_);
    dataEntrada_->setObjectName(QStringLiteral("medDtEntServico"));
    form->addRow(QStringLiteral("&Classe de Serviço"), classe_);
    form->addRow(QStringLiteral("País"), pais_);
    form->addRow(QStringLiteral("CNPJ"), cnpj_);
    form->addRow(QStringLiteral("Razão Social"), razaoSocial_);
    form->addRow(QStringLiteral("&Observações"), observacoes_);
    form->addRow(QStringLiteral("&Dt. Entrada no Certificado"), dataEntrada_);
    auto* editorLayout = new QVBoxLayout(grupoServico_);
    editorLayout->addLayout(form);
    auto* editorBotoes = new QHBoxLayout;
    selecionaEmpresa_ = Widgets::botao(grupoServico_, QStringLiteral("btnSelEmpServico"),
                                       QStringLiteral("Seleciona Empresa Envolvida"));
    aplica_ = Widgets::botao(grupoServico_, QStringLiteral("btnAplicaServico"), QStringLiteral("Aplicar"));
    cancela_ = Widgets::botao(grupoServico_, QStringLiteral("btnCancelaServico"), QStringLiteral("Cancelar"));
    editorBotoes->addWidget(selecionaEmpresa_);
    editorBotoes->addStretch();
    editorBotoes->addWidget(aplica_);
    editorBotoes->addWidget(cancela_);
    editorLayout->addLayout(editorBotoes);

    grupoStatus_ = new GrupoStatus(dm_, ItemStatus::Servico,
                                   {QStringLiteral("GroupStatusServico"), QStringLiteral("lblStatusServico"),
                                    QStringLiteral("lblDthStatusServico")},
                                   this);

    auto* meio = new QVBoxLayout;
    meio->addWidget(grupoServico_);
    meio->addWidget(grupoStatus_);
    meio->addStretch();
    corpo->addLayout(meio);

    auto* botoes = new QHBoxLayout;
    inclui_ = Widgets::botao(this, QStringLiteral("btnIncluiServico"), QStringLiteral("&Incluir"));
    edita_ = Widgets::botao(this, QStringLiteral("btnEditaServico"), QStringLiteral("&Editar"));
    exclui_ = Widgets::botao(this, QStringLiteral("btnExcluiServico"), QStringLiteral("E&xcluir "));
    botoes->addWidget(inclui_);
    botoes->addWidget(edita_);
    botoes->addWidget(exclui_);
    botoes->addStretch();
    layout->addLayout(botoes);

    connect(observacoes_, &QPlainTextEdit::textChanged, this, [this] {
        if (mostrando_)
            return;
        // The column holds 255 characters: stop typing there rather than fail on "Aplicar".
        QString text = observacoes_->toPlainText();
        if (text.size() > MaxObservacoes) {
            text.truncate(MaxObservacoes);
            const QSignalBlocker block(observacoes_);
            observacoes_->setPlainText(text);
            observacoes_->moveCursor(QTextCursor::End);
        }
        editor_.linha().Observacoes = text;
    });
    connect(classe_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!mostrando_ && editor_.editando() && index >= 0)
            editor_.linha().IdClasseServ = classe_->itemData(index).toInt();
    });
    connect(inclui_, &QPushButton::clicked, this, &TabServicos::incluir);
    connect(edita_, &QPushButton::clicked, this, &TabServicos::editar);
    connect(exclui_, &QPushButton::clicked, this, &TabServicos::excluir);
    connect(selecionaEmpresa_, &QPushButton::clicked, this, &TabServicos::selecionaEmpresa);
    connect(aplica_, &QPushButton::clicked, this, &TabServicos::aplicar);
    connect(cancela_, &QPushButton::clicked, this, &TabServicos::cancelar);
    connect(grupoStatus_, &GrupoStatus::alterado, this, [this] {
        atualiza();
        emit alterado();
    });
}

void TabServicos::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // A line being edited is kept as typed when the tab comes back into view.
    if (!editor_.editando())
        atualiza();
}

void TabServicos::preencheClasses() {
    const QSignalBlocker block(classe_);
    classe_->clear();
    try {
        for (const ClasseItem& item : Servicos::classesDeServico(dm_.database()))
            classe_->addItem(item.nome, item.id);
    } catch (const DbError& error) {
        dm_.session().prompts().error(error.message());
    }
}

std::optional<ChaveServico> TabServicos::chaveDaLinha(int row) const {
    if (row < 0 || row >= model_->rowCount())
        return std::nullopt;
    auto v = [&](int col) { return model_->data(model_->index(row, col)); };
    return ChaveServico{v(ColClasse).toInt(), v(ColSigla).toString(), v(ColNum).toString(),
                        v(ColPais).toString(), v(ColEmpresa).toString()};
}

std::optional<ChaveServico> TabServicos::atual() const {
    return chaveDaLinha(grid_->currentIndex().row());
}

void TabServicos::atualiza() {
    std::optional<ChaveServico> atual;
    if (editor_.temLinha())
        atual = editor_.linha().chave();
    preencheClasses();
    try {
        if (dm_.temCertificadoAberto()) {
            // The grid scrolls both ways: the query must not be forward-only.
            QSqlQuery query = Sql::prepare(dm_.database(), Servicos::consultaDaGrade());
            query.setForwardOnly(false);
            Sql::bind(query, {{":sigla", dm_.siglaAberta()}, {":num", dm_.numAberto()}});
            Sql::exec(query);
            model_->setQuery(std::move(query));
        } else {
            model_->clear();
        }
    } catch (const DbError& error) {
        model_->clear();
        dm_.session().prompts().error(error.message());
    }
    model_->setHeaderData(ColNomeClasse, Qt::Horizontal, QStringLiteral("Serviço Certificado"));
    model_->setHeaderData(ColNomeEmpresa, Qt::Horizontal, QStringLiteral("Empresa Certificada"));
    for (int col = ColClasse; col <= ColEmpresa; ++col)
        grid_->setColumnHidden(col, true);
    if (grid_->selectionModel())
        connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                &TabServicos::linhaMudou, Qt::UniqueConnection);
    posiciona(atual);
}

// Puts the cursor on the line with this key, or on the first line.
void TabServicos::posiciona(const std::optional<ChaveServico>& chave) {
    int row = model_->rowCount() > 0 ? 0 : -1;
    if (chave) {
        while (model_->canFetchMore())
            model_->fetchMore();
        for (int r = 0; r < model_->rowCount(); ++r) {
            if (chaveDaLinha(r) == chave) {
                row = r;
                break;
            }
        }
    }
    {
        const QSignalBlocker block(grid_->selectionModel());
        if (row >= 0)
            grid_->selectRow(row);
        grid_->setCurrentIndex(row >= 0 ? model_->index(row, ColNomeClasse) : QModelIndex());
    }
    linhaMudou();
}

void TabServicos::linhaMudou() {
    if (editor_.editando())
        return;
    try {
        editor_.mostra(chaveDaLinha(grid_->currentIndex().row()));
    } catch (const DbError& error) {
        editor_.mostra(std::nullopt);
        dm_.session().prompts().error(error.message());
    }
    mostraLinha();
    aplicaModo();
}

void TabServicos::mostraLinha() {
    mostrando_ = true;
    const Servico& s = editor_.linha();
    const QSignalBlocker block(classe_);
    int index = -1;
    if (s.IdClasseServ) {
        index = classe_->findData(*s.IdClasseServ);
        // A class the certifier is no longer accredited for still shows on the lines that have it.
        if (index < 0) {
            classe_->addItem(Servicos::nomeDaClasse(dm_.database(), *s.IdClasseServ), *s.IdClasseServ);
            index = classe_->count() - 1;
        }
    }
    classe_->setCurrentIndex(index);
    pais_->setText(s.CodigoPais);
    const EmpresaDoServico empresa = s.IdEmpresa.isEmpty()
                                         ? EmpresaDoServico{}
                                         : Servicos::empresa(dm_.database(), s.CodigoPais, s.IdEmpresa);
    cnpj_->setText(empresa.cnpj);
    razaoSocial_->setText(empresa.razaoSocial);
    observacoes_->setPlainText(s.Observacoes);
    dataEntrada_->setData(s.DthEntCertif.date());
    mostrando_ = false;
}

void TabServicos::aplicaModo() {
    const bool editando = editor_.editando();
    const bool aberto = dm_.temCertificadoAberto();
    const bool temLinhas = model_->rowCount() > 0;
    inclui_->setEnabled(!editando && aberto);
    edita_->setEnabled(!editando && temLinhas && editor_.temLinha());
    exclui_->setEnabled(!editando && temLinhas && editor_.temLinha());
    grid_->setEnabled(!editando);

    grupoServico_->setEnabled(editando);
    aplica_->setEnabled(editando);
    cancela_->setEnabled(editando);
    selecionaEmpresa_->setEnabled(editando);
    classe_->setEnabled(editando);
    observacoes_->setReadOnly(!editando);
    dataEntrada_->setEnabled(editando);

    // The group follows the current line; a line being included has no status yet.
    if (editor_.modo() == EditorServicos::Modo::Insercao)
        grupoStatus_->mostra(std::nullopt);
    else if (!editando)
        grupoStatus_->mostra(temLinhas && editor_.temLinha()
                                 ? std::optional<QVariantList>(editor_.linha().chave().chaveEvento())
                                 : std::nullopt);
    grupoStatus_->setEnabled(!editando);
}

void TabServicos::incluir() {
    if (editor_.editando() || !dm_.temCertificadoAberto())
        return;
    const QDate emissao = editor_.incluir();
    mostraLinha();
    dataEntrada_->setData(emissao);
    aplicaModo();
    selecionaEmpresa();
}

void TabServicos::selecionaEmpresa() {
    if (!editor_.editando() || !escolhe_)
        return;
    const auto escolhida = escolhe_(this, dm_.siglaAberta(), dm_.numAberto());
    if (!escolhida)
        return;
    editor_.escolheEmpresa(escolhida->first, escolhida->second);
    const EmpresaDoServico empresa = Servicos::empresa(dm_.database(), escolhida->first, escolhida->second);
    pais_->setText(escolhida->first);
    cnpj_->setText(empresa.cnpj);
    razaoSocial_->setText(empresa.razaoSocial);
}

void TabServicos::editar() {
    if (!editor_.editar())
        return;
    dataEntrada_->setData(editor_.linha().DthEntCertif.date());
    aplicaModo();
    classe_->setFocus();
}

void TabServicos::aplicar() {
    if (!editor_.aplicar(dataEntrada_->textoData())) {
        // A cancelled justification leaves browse mode; a refusal keeps the line in the editor.
        if (!editor_.editando())
            atualiza();
        else
            aplicaModo();
        return;
    }
    atualiza();
    emit alterado();
}

void TabServicos::cancelar() {
    editor_.cancelar();
    mostraLinha();
    aplicaModo();
}

void TabServicos::excluir() {
    if (editor_.excluir()) {
        atualiza();
        emit alterado();
    }
}
