#include "TFrmNovaRemessa.h"

#include "BatchControl.h"
#include "GradeRemessa.h"
#include "Prompts.h"
#include "Session.h"
#include "SharedBatchState.h"

#include <QApplication>
#include <QButtonGroup>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>
#include <exception>

namespace {

// The window lets pending events run at least this often while a run is under way.
constexpr int IntervaloEventosMs = 25;

void keepPlaceWhenHidden(QWidget* widget) {
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

QLabel* marca(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    const int size = parent->style()->pixelMetric(QStyle::PM_SmallIconSize);
    label->setPixmap(parent->style()->standardIcon(QStyle::SP_DialogApplyButton).pixmap(size, size));
    label->setAccessibleName(QStringLiteral("Concluído"));
    label->setVisible(false);
    keepPlaceWhenHidden(label);
    return label;
}

QLineEdit* campoResultado(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setReadOnly(true);
    return edit;
}

QPushButton* botao(QWidget* parent, const char* name, const QString& text) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    button->setAccessibleName(QString(text).remove(QLatin1Char('&')));
    return button;
}

QStandardItem* celula(const QString& text, bool numero = false) {
    auto* item = new QStandardItem(text);
    item->setEditable(false);
    if (numero)
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

} // namespace

QString TFrmNovaRemessa::textoSemTipo() {
    return QStringLiteral("É obrigatória a escolha de um tipo de remessa.");
}

QString TFrmNovaRemessa::tituloSemTipo() {
    return QStringLiteral("Tipo de Remessa");
}

TFrmNovaRemessa::TFrmNovaRemessa(Session& session, SharedBatchState& state, QString numeroAnterior,
                                 QWidget* parent)
    : RunGuardedDialog(parent), session_(session), state_(state), numeroAnterior_(std::move(numeroAnterior)),
      prepara_(session, state), previa_(new QStandardItemModel(0, 4, this)) {
    setObjectName(QStringLiteral("TFrmNovaRemessa"));
    setWindowTitle(QStringLiteral("Prepara Nova Remessa"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setSizeGripEnabled(true);

    // The batch type: nothing is chosen until the user picks one.
    RGTipoRemessa_ = new QGroupBox(QStringLiteral("Tipo da Remessa"), this);
    RGTipoRemessa_->setObjectName(QStringLiteral("RGTipoRemessa"));
    rbParcial_ = new QRadioButton(QStringLiteral("Remessa &Parcial"), RGTipoRemessa_);
    rbParcial_->setObjectName(QStringLiteral("rbRemessaParcial"));
    rbCompleta_ = new QRadioButton(QStringLiteral("Remessa &Completa"), RGTipoRemessa_);
    rbCompleta_->setObjectName(QStringLiteral("rbRemessaCompleta"));
    tipos_ = new QButtonGroup(this);
    tipos_->addButton(rbParcial_, 0);
    tipos_->addButton(rbCompleta_, 1);
    auto* tiposLayout = new QHBoxLayout(RGTipoRemessa_);
    tiposLayout->addWidget(rbParcial_);
    tiposLayout->addWidget(rbCompleta_);
    tiposLayout->addStretch();

    // Progress: the tables, then the packing. The box keeps its place while its contents are
    // hidden, so the window does not jump when a run starts.
    auto* andamento = new QGroupBox(QStringLiteral("Andamento"), this);
    andamento->setObjectName(QStringLiteral("GbAndamento"));
    progresso_ = new QWidget(andamento);
    progressoTabelas_ = new QWidget(progresso_);
    CkTabelas_ = marca(progressoTabelas_, "CkTabelas");
    auto* lblPreparando = new QLabel(QStringLiteral("Preparando arquivos de dados"), progressoTabelas_);
    lblPreparando->setObjectName(QStringLiteral("LblPreparando"));
    LblTabela_ = new QLabel(progressoTabelas_);
    LblTabela_->setObjectName(QStringLiteral("LblTabela"));
    LblOperacao_ = new QLabel(progressoTabelas_);
    LblOperacao_->setObjectName(QStringLiteral("LblOperacao"));
    keepPlaceWhenHidden(LblTabela_);
    keepPlaceWhenHidden(LblOperacao_);
    PbTabelas_ = new QProgressBar(progressoTabelas_);
    PbTabelas_->setObjectName(QStringLiteral("PbTabelas"));
    PbTabelas_->setAccessibleName(lblPreparando->text());
    PbTabelas_->setRange(0, PreparaRemessa::numeroDePassos(BatchTypes::Parcial));
    PbTabelas_->setValue(0);
    auto* tabelasTitulo = new QHBoxLayout;
    tabelasTitulo->addWidget(CkTabelas_);
    tabelasTitulo->addWidget(lblPreparando, 1);
    auto* tabelasLayout = new QVBoxLayout(progressoTabelas_);
    tabelasLayout->setContentsMargins(0, 0, 0, 0);
    tabelasLayout->addLayout(tabelasTitulo);
    tabelasLayout->addWidget(LblTabela_);
    tabelasLayout->addWidget(LblOperacao_);
    tabelasLayout->addWidget(PbTabelas_);

    progressoArquivo_ = new QWidget(progresso_);
    CkArquivo_ = marca(progressoArquivo_, "CkArquivo");
    auto* lblCompactando = new QLabel(QStringLiteral("Compactando arquivos..."), progressoArquivo_);
    lblCompactando->setObjectName(QStringLiteral("LblCompactando"));
    PbArquivo_ = new QProgressBar(progressoArquivo_);
    PbArquivo_->setObjectName(QStringLiteral("PbArquivo"));
    PbArquivo_->setAccessibleName(lblCompactando->text());
    PbArquivo_->setRange(0, 1);
    PbArquivo_->setValue(0);
    auto* arquivoTitulo = new QHBoxLayout;
    arquivoTitulo->addWidget(CkArquivo_);
    arquivoTitulo->addWidget(lblCompactando, 1);
    auto* arquivoLayout = new QVBoxLayout(progressoArquivo_);
    arquivoLayout->setContentsMargins(0, 0, 0, 0);
    arquivoLayout->addLayout(arquivoTitulo);
    arquivoLayout->addWidget(PbArquivo_);

    auto* progressoLayout = new QVBoxLayout(progresso_);
    progressoLayout->setContentsMargins(0, 0, 0, 0);
    progressoLayout->addWidget(progressoTabelas_);
    progressoLayout->addWidget(progressoArquivo_);
    for (QWidget* w : {progressoTabelas_, progressoArquivo_}) {
        keepPlaceWhenHidden(w);
        w->setVisible(false);
    }

    // The result.
    EdResultado_ = campoResultado(this, "EdResultado");
    EdNumeroRemessa_ = campoResultado(this, "EdNumeroRemessa");
    EdArquivoRemessa_ = campoResultado(this, "EdArquivoRemessa");
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Resultado"), EdResultado_);
    form->addRow(QStringLiteral("&Número da remessa"), EdNumeroRemessa_);
    form->addRow(QStringLiteral("Arquivo criado para &transferência"), EdArquivoRemessa_);

    // The preview.
    auto* lblGrade = new QLabel(QStringLiteral("Prévia: linhas que a remessa levaria, por ta&bela"), this);
    lblGrade->setObjectName(QStringLiteral("LblGradePrevia"));
    GrPrevia_ = GradeRemessa::grade(this, "GrPrevia", lblGrade, 8);
    previa_->setHorizontalHeaderLabels({QStringLiteral("Tabela"), QStringLiteral("Inclusões"),
                                        QStringLiteral("Alterações"), QStringLiteral("Exclusões")});
    GrPrevia_->setModel(previa_);
    GradeRemessa::larguraPara(GrPrevia_,
                              {QStringLiteral("doc_norm_cert_servico"), QStringLiteral("Inclusões"),
                               QStringLiteral("Alterações"), QStringLiteral("Exclusões")});
    LblPrevia_ = new QLabel(this);
    LblPrevia_->setObjectName(QStringLiteral("LblPrevia"));
    LblPrevia_->setWordWrap(true);

    // The buttons: "Interrompe Preparação" takes the place of "Inicia Preparação" during a run.
    BtPrevia_ = botao(this, "BtPrevia", QStringLiteral("Pré&via"));
    BtPrevia_->setToolTip(
        QStringLiteral("Conta, por tabela, as inclusões, alterações e exclusões que a remessa "
                       "escolhida levaria, sem gravar nada"));
    BtInicio_ = botao(this, "BtInicio", QStringLiteral("&Inicia Preparação"));
    BtInicio_->setDefault(true);
    BtInterrompe_ = botao(this, "BtInterrompe", QStringLiteral("Interro&mpe Preparação"));
    BtInterrompe_->setVisible(false);
    BtSaida_ = botao(this, "BtSaida", QStringLiteral("&Saída"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BtPrevia_);
    buttons->addStretch();
    buttons->addWidget(BtInicio_);
    buttons->addWidget(BtInterrompe_);
    buttons->addWidget(BtSaida_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(RGTipoRemessa_);
    auto* andamentoLayout = new QVBoxLayout(andamento);
    andamentoLayout->addWidget(progresso_);
    layout->addWidget(andamento);
    layout->addLayout(form);
    layout->addWidget(lblGrade);
    layout->addWidget(GrPrevia_, 1);
    layout->addWidget(LblPrevia_);
    layout->addLayout(buttons);

    connect(BtInicio_, &QPushButton::clicked, this, &TFrmNovaRemessa::BtInicioClick);
    connect(BtInterrompe_, &QPushButton::clicked, this, &TFrmNovaRemessa::BtInterrompeClick);
    connect(BtPrevia_, &QPushButton::clicked, this, &TFrmNovaRemessa::BtPreviaClick);
    connect(BtSaida_, &QPushButton::clicked, this, &QDialog::accept);
    rbParcial_->setFocus();
}

QString TFrmNovaRemessa::tipoEscolhido() {
    if (rbParcial_->isChecked())
        return BatchTypes::Parcial;
    if (rbCompleta_->isChecked())
        return BatchTypes::Completa;
    session_.prompts().message(tituloSemTipo(), textoSemTipo());
    return {};
}

void TFrmNovaRemessa::comecaExecucao(const QString& tipo) {
    interromper_ = false;
    running_ = true;
    RGTipoRemessa_->setVisible(false);
    BtInicio_->setVisible(false);
    BtInterrompe_->setVisible(true);
    BtInterrompe_->setEnabled(true);
    BtInterrompe_->setFocus();
    BtPrevia_->setEnabled(false);
    BtSaida_->setEnabled(false);
    progressoTabelas_->setVisible(true);
    progressoArquivo_->setVisible(false);
    LblTabela_->setVisible(true);
    LblOperacao_->setVisible(true);
    LblTabela_->clear();
    LblOperacao_->clear();
    CkTabelas_->setVisible(false);
    CkArquivo_->setVisible(false);
    PbTabelas_->setRange(0, PreparaRemessa::numeroDePassos(tipo));
    PbTabelas_->setValue(0);
    PbArquivo_->setValue(0);
    sinceEvents_.start();
    deixaEventosCorrerem(true);
}

void TFrmNovaRemessa::terminaExecucao() {
    running_ = false;
}

void TFrmNovaRemessa::deixaEventosCorrerem(bool agora) {
    if (!agora && sinceEvents_.elapsed() < IntervaloEventosMs)
        return;
    QApplication::processEvents(QEventLoop::AllEvents);
    sinceEvents_.restart();
}

void TFrmNovaRemessa::mostraProgresso(const PreparationProgress& p) {
    bool mudou = false;
    if (p.fase == PreparationProgress::Fase::Tabelas) {
        if (p.maximo > 0 && PbTabelas_->maximum() != p.maximo)
            PbTabelas_->setMaximum(p.maximo);
        if (PbTabelas_->value() != p.passo) {
            PbTabelas_->setValue(p.passo);
            mudou = true;
        }
        if (LblTabela_->text() != p.Rotulo) {
            LblTabela_->setText(p.Rotulo);
            mudou = true;
        }
        if (LblOperacao_->text() != p.operacao) {
            LblOperacao_->setText(p.operacao);
            mudou = true;
        }
    } else if (!progressoArquivo_->isVisible()) {
        // Packing: the table labels give way to "Compactando arquivos...". The tables are
        // written by now and the packing runs to its end, so there is nothing left to interrupt.
        BtInterrompe_->setEnabled(false);
        PbTabelas_->setValue(PbTabelas_->maximum());
        CkTabelas_->setVisible(true);
        LblTabela_->setVisible(false);
        LblOperacao_->setVisible(false);
        progressoArquivo_->setVisible(true);
        mudou = true;
    }
    deixaEventosCorrerem(mudou);
}

void TFrmNovaRemessa::BtInterrompeClick() {
    BtInterrompe_->setEnabled(false);
    interromper_ = true;
}

void TFrmNovaRemessa::BtInicioClick() {
    if (running_)
        return;
    const QString tipo = tipoEscolhido();
    if (tipo.isEmpty())
        return;
    if (const QString problema = prepara_.problemaDiretorio(); !problema.isEmpty()) {
        session_.prompts().message(QStringLiteral("Erro de Configuração"), problema);
        return;
    }
    const bool completa = tipo == BatchTypes::Completa;
    if (completa && !session_.prompts().confirm(PreparaRemessa::textoConfirmacaoCompleta(),
                                                PreparaRemessa::tituloConfirmacaoCompleta()))
        return;

    EdResultado_->clear();
    EdNumeroRemessa_->clear();
    EdArquivoRemessa_->clear();
    // A preview shown before tells what a preparation would have done; from now on the screen shows
    // what this one does.
    previa_->removeRows(0, previa_->rowCount());
    LblPrevia_->clear();
    comecaExecucao(tipo);
    PreparationResult result;
    try {
        result = prepara_.run(tipo, numeroAnterior_, completa, interromper_,
                              [this](const PreparationProgress& p) { mostraProgresso(p); });
    } catch (const std::exception&) {
        result = {};
        result.status = PreparationResult::Status::Erro;
        result.EdResultado = QStringLiteral("Ocorreu um Erro na Preparação.");
    }
    terminaExecucao();
    mostraResultado(result, tipo);
}

void TFrmNovaRemessa::mostraResultado(const PreparationResult& result, const QString& tipo) {
    using Status = PreparationResult::Status;
    result_ = result;
    EdResultado_->setText(result.EdResultado);
    if (result.status == Status::Sucesso || result.status == Status::NadaAEnviar) {
        // The type the batch was prepared as stays in sight, no longer to be changed.
        RGTipoRemessa_->setVisible(true);
        RGTipoRemessa_->setEnabled(false);
    }
    switch (result.status) {
    case Status::Sucesso:
        if (tipo == BatchTypes::Completa)
            PbTabelas_->setValue(PbTabelas_->maximum());
        CkTabelas_->setVisible(true);
        progressoArquivo_->setVisible(true);
        LblTabela_->setVisible(false);
        LblOperacao_->setVisible(false);
        CkArquivo_->setVisible(true);
        PbArquivo_->setValue(PbArquivo_->maximum());
        EdNumeroRemessa_->setText(result.numeroRemessa);
        EdArquivoRemessa_->setText(result.arquivo);
        BtInterrompe_->setEnabled(false);
        BtSaida_->setEnabled(true);
        break;
    case Status::NadaAEnviar:
        CkTabelas_->setVisible(true);
        BtInterrompe_->setEnabled(false);
        BtSaida_->setEnabled(true);
        break;
    case Status::Interrompida:
    case Status::Erro:
        if (result.status == Status::Erro)
            LblOperacao_->setText(QStringLiteral("Erro.!"));
        BtInicio_->setVisible(true);
        BtInterrompe_->setVisible(false);
        BtPrevia_->setEnabled(true);
        BtSaida_->setEnabled(true);
        break;
    case Status::Recusada:
        // Nothing was touched: back to the choice.
        RGTipoRemessa_->setVisible(true);
        progressoTabelas_->setVisible(false);
        progressoArquivo_->setVisible(false);
        BtInicio_->setVisible(true);
        BtInterrompe_->setVisible(false);
        BtPrevia_->setEnabled(true);
        BtSaida_->setEnabled(true);
        break;
    }
    (BtSaida_->isEnabled() && !BtInicio_->isVisible() ? BtSaida_ : BtInicio_)->setFocus();
    mostraMensagem(result);
}

void TFrmNovaRemessa::mostraMensagem(const PreparationResult& result) {
    if (!result.aviso.isEmpty())
        session_.prompts().warning(result.aviso, QStringLiteral("Preparação de Remessas"));
    if (result.mensagem.isEmpty())
        return;
    if (result.status == PreparationResult::Status::Erro)
        session_.prompts().error(result.mensagem, result.titulo);
    else
        session_.prompts().message(result.titulo, result.mensagem);
}

void TFrmNovaRemessa::BtPreviaClick() {
    if (running_)
        return;
    const QString tipo = tipoEscolhido();
    if (tipo.isEmpty())
        return;
    const bool voltaAEscolha = RGTipoRemessa_->isVisible();
    previa_->removeRows(0, previa_->rowCount());
    LblPrevia_->clear();
    comecaExecucao(tipo);
    PreviewResult preview;
    try {
        preview =
            prepara_.previa(tipo, interromper_, [this](const PreparationProgress& p) { mostraProgresso(p); });
    } catch (const std::exception& e) {
        preview = {};
        preview.erro = QString::fromUtf8(e.what());
    }
    terminaExecucao();
    // A preview leaves the screen as it found it.
    RGTipoRemessa_->setVisible(voltaAEscolha);
    progressoTabelas_->setVisible(false);
    progressoArquivo_->setVisible(false);
    BtInicio_->setVisible(true);
    BtInterrompe_->setVisible(false);
    BtPrevia_->setEnabled(true);
    BtSaida_->setEnabled(true);
    BtPrevia_->setFocus();
    mostraPrevia(preview);
}

void TFrmNovaRemessa::mostraPrevia(const PreviewResult& preview) {
    int tabelas = 0;
    for (const PreviewRow& row : preview.tabelas) {
        if (row.inclusoes + row.alteracoes + row.exclusoes > 0)
            ++tabelas;
        previa_->appendRow({celula(row.Nome), celula(QString::number(row.inclusoes), true),
                            celula(QString::number(row.alteracoes), true),
                            celula(QString::number(row.exclusoes), true)});
    }
    if (!preview.erro.isEmpty()) {
        LblPrevia_->setText(QStringLiteral("A prévia não pôde ser concluída."));
        session_.prompts().error(preview.erro, QStringLiteral("Prévia da Remessa"));
    } else if (preview.interrompida) {
        LblPrevia_->setText(QStringLiteral("Prévia interrompida pelo usuário."));
    } else if (preview.total() == 0) {
        LblPrevia_->setText(
            QStringLiteral("Nenhuma tabela seria criada: não há diferenças a enviar. Nada foi "
                           "gravado."));
    } else {
        LblPrevia_->setText(QStringLiteral("%1 linha(s) em %2 tabela(s). Nada foi gravado.")
                                .arg(preview.total())
                                .arg(tabelas));
    }
}
