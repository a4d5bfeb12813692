#include "HelpWindow.h"

#include "Controls.h"

#include <QApplication>
#include <QFile>
#include <QHBoxLayout>
#include <QHash>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

// The manual's resources live in a static library: registered on first use (outside any namespace,
// as the resource's registration function is global).
static void registerManual() {
    Q_INIT_RESOURCE(manual);
}

namespace {

const QString Prefix = QStringLiteral("qrc:/manual/");

void loadResources() {
    static const bool loaded = [] {
        registerManual();
        return true;
    }();
    Q_UNUSED(loaded);
}

// The screens each how-to explains, by class or object name.
const QHash<QString, QString>& screenTopics() {
    static const QHash<QString, QString> topics = [] {
        QHash<QString, QString> t;
        const auto add = [&t](const char* topic, std::initializer_list<const char*> screens) {
            for (const char* screen : screens)
                t.insert(QString::fromLatin1(screen), QString::fromLatin1(topic));
        };
        add("howto-primeiro-uso.md",
            {"TFrmCapaSistema", "CadastroUsuariosPage", "ConfigCertificadorPage", "ConfiguraDiretoriosPage",
             "TFrmLoginUsuario", "TFrmAlteraSenha", "TFrmSenhaAdministrador"});
        add("howto-registro.md", {"TFormPrincipal", "FormPrincipal", "AprovaCertificadosPage"});
        add("howto-status-documentos-historico.md", {"TFrmDocumentosNormativos", "TFrmGeraHistorico",
                                                     "TFrmAlteraStatusEmpresa", "TFrmJustificativa"});
        add("howto-importacao.md", {"TfrmImporta", "frmImporta"});
        add("howto-tabelas-referencia.md",
            {"TFrmPrincipalVersoes", "TFrmAtualizaVersao", "TFrmVersaoAnterior"});
        add("howto-remessa.md", {"TFrmPrincipalRemessas", "TFrmNovaRemessa"});
        add("howto-entrega.md", {"TFrmSelecaoTransferencia", "TFrmTransfereArquivo", "TFrmTransfereSMTP",
                                 "TFrmGravaDisquete", "TFrmEnviaTXT_FTP"});
        add("howto-resultado.md", {"TFrmSelecaoResultado", "TFrmResultadoAutomatico", "TFrmResultadoManual",
                                   "TFrmConfResultadoManual"});
        add("howto-relatorios.md", {"ReportPreview", "TFrmRelatorioCertificados", "TFrmCertificadosAVencer"});
        add("howto-copias.md", {"TFrmRestauraCopia"});
        add("howto-ajuda.md", {"HelpWindow"});
        return t;
    }();
    return topics;
}

// F1 anywhere in the program.
class HelpKey : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier)
            return false;
        QWidget* from = QApplication::focusWidget();
        if (!from)
            from = qobject_cast<QWidget*>(watched);
        if (!from)
            from = QApplication::activeWindow();
        if (!from)
            return false;
        HelpWindow::open(from, HelpWindow::topicFor(from));
        return true;
    }
};

} // namespace

HelpWindow::HelpWindow(QWidget* parent) : QDialog(parent) {
    loadResources();
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Manual de Uso"));
    setSizeGripEnabled(true);

    contents_ = new QListWidget(this);
    contents_->setObjectName(QStringLiteral("lstConteudo"));
    for (const QString& topic : topics()) {
        auto* item = new QListWidgetItem(titleOf(topic), contents_);
        item->setData(Qt::UserRole, topic);
    }
    // As wide as its longest title, so no title is cut.
    contents_->setMinimumWidth(contents_->sizeHintForColumn(0) + 2 * contents_->frameWidth() + 24);
    contents_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);

    page_ = new QTextBrowser(this);
    page_->setObjectName(QStringLiteral("txtManual"));
    page_->setOpenExternalLinks(true);
    page_->setSearchPaths({QStringLiteral(":/manual")});
    page_->setMinimumSize(520, 360);

    auto* contentsCaption = Controls::caption(QStringLiteral("&Conteúdo"), contents_, this);
    auto* pageCaption = Controls::caption(QStringLiteral("&Página"), page_, this);

    auto* voltar = Controls::button(this, QStringLiteral("btnVoltar"), QStringLiteral("&Voltar"));
    auto* fechar = Controls::button(this, QStringLiteral("btnFechar"), QStringLiteral("&Fechar"));
    voltar->setEnabled(false);

    auto* left = new QVBoxLayout;
    left->addWidget(contentsCaption);
    left->addWidget(contents_, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(pageCaption);
    right->addWidget(page_, 1);
    auto* middle = new QHBoxLayout;
    middle->addLayout(left);
    middle->addLayout(right, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(voltar);
    buttons->addStretch(1);
    buttons->addWidget(fechar);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(middle, 1);
    layout->addLayout(buttons);
    resize(1180, 760);

    connect(contents_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (item && item->data(Qt::UserRole).toString() != currentTopic())
            showTopic(item->data(Qt::UserRole).toString());
    });
    // A link followed or "Voltar": the contents list follows the page.
    connect(page_, &QTextBrowser::historyChanged, this, &HelpWindow::sourceChanged);
    connect(page_, &QTextBrowser::backwardAvailable, voltar, &QPushButton::setEnabled);
    connect(voltar, &QPushButton::clicked, page_, &QTextBrowser::backward);
    connect(fechar, &QPushButton::clicked, this, &QDialog::accept);

    showTopic(topics().first());
}

QStringList HelpWindow::topics() {
    return {QStringLiteral("howto-primeiro-uso.md"),
            QStringLiteral("howto-registro.md"),
            QStringLiteral("howto-status-documentos-historico.md"),
            QStringLiteral("howto-importacao.md"),
            QStringLiteral("howto-tabelas-referencia.md"),
            QStringLiteral("howto-remessa.md"),
            QStringLiteral("howto-entrega.md"),
            QStringLiteral("howto-resultado.md"),
            QStringLiteral("howto-relatorios.md"),
            QStringLiteral("howto-copias.md"),
            QStringLiteral("howto-agendamento.md"),
            QStringLiteral("howto-ajuda.md"),
            QStringLiteral("cli.md")};
}

QString HelpWindow::titleOf(const QString& topic) {
    loadResources();
    QFile file(QStringLiteral(":/manual/") + topic);
    if (!file.open(QIODevice::ReadOnly))
        return topic;
    // The first heading, without the "How to:" every how-to starts with.
    QString title = QString::fromUtf8(file.readLine()).trimmed();
    title.remove(0, title.indexOf(QLatin1Char(' ')) + 1);
    if (title.startsWith(QLatin1String("How to: ")))
        title = title.mid(8);
    return title.isEmpty() ? topic : title.left(1).toUpper() + title.mid(1);
}

QString HelpWindow::topicFor(const QWidget* widget) {
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        const auto& topics = screenTopics();
        const auto byClass = topics.constFind(QString::fromLatin1(w->metaObject()->className()));
        if (byClass != topics.cend())
            return *byClass;
        const auto byName = topics.constFind(w->objectName());
        if (byName != topics.cend())
            return *byName;
    }
    return topics().first();
}

void HelpWindow::showTopic(const QString& topic) {
    const QString shown = topics().contains(topic) ? topic : topics().first();
    page_->setSource(QUrl(Prefix + shown), QTextDocument::MarkdownResource);
    sourceChanged();
}

QString HelpWindow::currentTopic() const {
    return page_->source().fileName();
}

void HelpWindow::sourceChanged() {
    const QString topic = currentTopic();
    for (int i = 0; i < contents_->count(); ++i) {
        if (contents_->item(i)->data(Qt::UserRole).toString() == topic) {
            const QSignalBlocker quiet(contents_);
            contents_->setCurrentRow(i);
        }
    }
}

HelpWindow* HelpWindow::open(QWidget* from, const QString& topic) {
    // Over the modal dialog in use, if any: a window of its own would be blocked by it.
    QWidget* over = QApplication::activeModalWidget();
    if (!over)
        over = from ? from->window() : QApplication::activeWindow();
    if (auto* same = qobject_cast<HelpWindow*>(over)) {
        same->showTopic(topic);
        return same;
    }
    HelpWindow* help = nullptr;
    for (HelpWindow* open :
         over ? over->findChildren<HelpWindow*>(Qt::FindDirectChildrenOnly) : QList<HelpWindow*>{})
        help = open;
    if (!help) {
        help = new HelpWindow(over);
        help->setAttribute(Qt::WA_DeleteOnClose);
    }
    help->showTopic(topic);
    help->show();
    help->raise();
    help->activateWindow();
    return help;
}

void installHelpKey(QObject* owner) {
    qApp->installEventFilter(new HelpKey(owner));
}
