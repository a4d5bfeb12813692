#include "ReportPreview.h"

#include "Prompts.h"

#include <QAction>
#include <QCache>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

// The pages one under the other, each painted when it first comes into view.
class PaginasDoRelatorio : public QWidget {
public:
    PaginasDoRelatorio(const Report::Document& document, QWidget* parent)
        : QWidget(parent), document_(document), cache_(6) {
        setObjectName(QStringLiteral("paginas"));
        setAutoFillBackground(false);
        aplicaZoom(0.12);
    }

    // Pixels per layout unit (a 720th of an inch).
    double zoom() const { return zoom_; }
    void aplicaZoom(double zoom) {
        zoom_ = std::clamp(zoom, 0.03, 0.6);
        cache_.clear();
        const QSizeF pagina = document_.pageSize() * zoom_;
        tamanhoPagina_ = QSize(qRound(pagina.width()), qRound(pagina.height()));
        const int n = std::max<int>(1, int(document_.pages.size()));
        setFixedSize(tamanhoPagina_.width() + 2 * Margem, n * (tamanhoPagina_.height() + Margem) + Margem);
        update();
    }
    QRect retanguloDa(int indice) const {
        return QRect(QPoint(Margem, Margem + indice * (tamanhoPagina_.height() + Margem)), tamanhoPagina_);
    }
    int paginaEm(int y) const {
        const int n = int(document_.pages.size());
        return std::clamp((y - Margem / 2) / (tamanhoPagina_.height() + Margem), 0, std::max(0, n - 1));
    }
    int pintadas() const { return pintadas_; }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        painter.fillRect(event->rect(), palette().color(QPalette::Dark));
        if (document_.pages.isEmpty())
            return;
        for (int i = paginaEm(event->rect().top()); i <= paginaEm(event->rect().bottom()); ++i) {
            const QRect r = retanguloDa(i);
            if (r.intersects(event->rect()))
                painter.drawImage(r, imagemDa(i));
        }
    }

private:
    static constexpr int Margem = 12;

    const QImage& imagemDa(int indice) {
        if (QImage* pronta = cache_.object(indice))
            return *pronta;
        // The page at the zoom's resolution, so its fonts take the sizes the layout measured.
        const double dpi = zoom_ * Report::UnitsPerInch;
        auto* imagem = new QImage(tamanhoPagina_ * devicePixelRatioF(), QImage::Format_ARGB32_Premultiplied);
        imagem->setDotsPerMeterX(qRound(dpi * devicePixelRatioF() / 0.0254));
        imagem->setDotsPerMeterY(qRound(dpi * devicePixelRatioF() / 0.0254));
        imagem->fill(Qt::white);
        {
            QPainter painter(imagem);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setRenderHint(QPainter::TextAntialiasing);
            Report::paintPage(painter, document_.pages.at(indice), dpi * devicePixelRatioF());
        }
        imagem->setDevicePixelRatio(devicePixelRatioF());
        ++pintadas_;
        cache_.insert(indice, imagem);
        return *cache_.object(indice);
    }

    const Report::Document& document_;
    QCache<int, QImage> cache_;
    double zoom_ = 0;
    QSize tamanhoPagina_;
    int pintadas_ = 0;
};

namespace {

QAction* acao(QToolBar* bar, const QString& objectName, const QString& text, QStyle::StandardPixmap icon) {
    QAction* a = bar->addAction(bar->style()->standardIcon(icon), text);
    a->setObjectName(objectName);
    a->setToolTip(text);
    return a;
}

} // namespace

ReportPreview::ReportPreview(Report::Document document, Prompts& prompts, QWidget* parent)
    : QDialog(parent), document_(std::move(document)), prompts_(prompts) {
    setObjectName(QStringLiteral("ReportPreview"));
    setWindowTitle(document_.title);
    setSizeGripEnabled(true);

    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("barraPrevia"));
    QAction* primeira = acao(bar, QStringLiteral("actPrimeiraPagina"), QStringLiteral("Primeira página"),
                             QStyle::SP_MediaSkipBackward);
    QAction* anterior = acao(bar, QStringLiteral("actPaginaAnterior"), QStringLiteral("Página anterior"),
                             QStyle::SP_MediaSeekBackward);
    pagina_ = new QSpinBox(bar);
    pagina_->setObjectName(QStringLiteral("spnPagina"));
    pagina_->setAccessibleName(QStringLiteral("Página"));
    pagina_->setRange(1, std::max(1, pageCount()));
    bar->addWidget(pagina_);
    total_ = new QLabel(QStringLiteral(" de %1 ").arg(std::max(1, pageCount())), bar);
    total_->setObjectName(QStringLiteral("lblTotalPaginas"));
    bar->addWidget(total_);
    QAction* proxima = acao(bar, QStringLiteral("actProximaPagina"), QStringLiteral("Próxima página"),
                            QStyle::SP_MediaSeekForward);
    QAction* ultima = acao(bar, QStringLiteral("actUltimaPagina"), QStringLiteral("Última página"),
                           QStyle::SP_MediaSkipForward);
    bar->addSeparator();
    QAction* reduz = bar->addAction(QStringLiteral("−"));
    reduz->setObjectName(QStringLiteral("actReduzir"));
    reduz->setToolTip(QStringLiteral("Reduzir"));
    QAction* amplia = bar->addAction(QStringLiteral("+"));
    amplia->setObjectName(QStringLiteral("actAmpliar"));
    amplia->setToolTip(QStringLiteral("Ampliar"));
    QAction* largura = bar->addAction(QStringLiteral("Largura da página"));
    largura->setObjectName(QStringLiteral("actLarguraPagina"));
    bar->addSeparator();
    QAction* imprimir = bar->addAction(QStringLiteral("Imprimir..."));
    imprimir->setObjectName(QStringLiteral("actImprimir"));
    QAction* salvarPdf = bar->addAction(QStringLiteral("Salvar PDF"));
    salvarPdf->setObjectName(QStringLiteral("actSalvarPdf"));
    salvarPdf->setToolTip(QStringLiteral("Salva o relatório num arquivo PDF"));
    bar->addSeparator();
    QAction* fechar = bar->addAction(QStringLiteral("Fechar"));
    fechar->setObjectName(QStringLiteral("actFechar"));

    area_ = new QScrollArea(this);
    area_->setObjectName(QStringLiteral("areaPaginas"));
    area_->setAccessibleName(QStringLiteral("Páginas do relatório"));
    area_->setAlignment(Qt::AlignHCenter);
    area_->setBackgroundRole(QPalette::Dark);
    paginas_ = new PaginasDoRelatorio(document_, area_);
    area_->setWidget(paginas_);
    area_->setWidgetResizable(false);
    // Always there, so fitting the page to the width never makes room for it afterwards.
    area_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(area_, 1);
    resize(900, 700);

    connect(primeira, &QAction::triggered, this, [this] { showPage(1); });
    connect(anterior, &QAction::triggered, this, [this] { showPage(currentPage() - 1); });
    connect(proxima, &QAction::triggered, this, [this] { showPage(currentPage() + 1); });
    connect(ultima, &QAction::triggered, this, [this] { showPage(pageCount()); });
    connect(pagina_, &QSpinBox::editingFinished, this, [this] { showPage(pagina_->value()); });
    const auto zoom = [this](double fator) {
        ajustaALargura_ = false;
        const int atual = currentPage();
        paginas_->aplicaZoom(paginas_->zoom() * fator);
        showPage(atual);
    };
    connect(reduz, &QAction::triggered, this, [zoom] { zoom(1 / 1.25); });
    connect(amplia, &QAction::triggered, this, [zoom] { zoom(1.25); });
    connect(largura, &QAction::triggered, this, [this] {
        ajustaALargura_ = true;
        ajustaLargura();
    });
    connect(imprimir, &QAction::triggered, this, [this] { imprime(); });
    connect(salvarPdf, &QAction::triggered, this, [this] { salvaPdf(); });
    connect(fechar, &QAction::triggered, this, &QDialog::accept);
    connect(area_->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { paginaMudou(); });
}

ReportPreview::~ReportPreview() = default;

void ReportPreview::ajustaLargura() {
    const int atual = currentPage();
    const double livre = area_->viewport()->width() - 24.0;
    paginas_->aplicaZoom(livre / document_.pageSize().width());
    showPage(atual);
}

void ReportPreview::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The preview opens with the whole width of the page in view.
    if (ajustaALargura_)
        ajustaLargura();
}

void ReportPreview::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    // Until the user zooms, the page follows the width of the window.
    if (ajustaALargura_ && isVisible())
        ajustaLargura();
}

int ReportPreview::currentPage() const {
    return paginas_->paginaEm(area_->verticalScrollBar()->value()) + 1;
}

void ReportPreview::showPage(int page) {
    const int p = std::clamp(page, 1, std::max(1, pageCount()));
    area_->verticalScrollBar()->setValue(paginas_->retanguloDa(p - 1).top() - 6);
    paginaMudou();
}

int ReportPreview::paintedPages() const {
    return paginas_->pintadas();
}

void ReportPreview::paginaMudou() {
    const QSignalBlocker quieto(pagina_);
    pagina_->setValue(currentPage());
}

void ReportPreview::imprime() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(document_.title);
    // The report keeps its own margins: coordinates start at the corner of the sheet.
    printer.setFullPage(true);
    printer.setPageLayout(document_.pageLayout());
    QPrintDialog dialog(&printer, this);
    dialog.setObjectName(QStringLiteral("DialogoImpressao"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (!Report::print(document_, printer))
        prompts_.error(QStringLiteral("O relatório não foi impresso."), QStringLiteral("Imprimir"));
}

bool ReportPreview::salvaPdf() {
    // The report's title as the file name, offered where the user saved last (or in the documents).
    QString file =
        prompts_.chooseSaveFile(QStringLiteral("Salvar PDF"), document_.title + QStringLiteral(".pdf"),
                                QStringLiteral("Arquivos PDF (*.pdf)"));
    if (file.isEmpty())
        return false;
    if (!file.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        file += QStringLiteral(".pdf");
    QString error;
    if (!Report::writePdf(document_, file, &error)) {
        prompts_.error(QStringLiteral("O relatório não foi salvo: %1").arg(error),
                       QStringLiteral("Salvar PDF"));
        return false;
    }
    prompts_.information(pdfSalvo(file), QStringLiteral("Salvar PDF"));
    return true;
}

QString ReportPreview::pdfSalvo(const QString& file) {
    return QStringLiteral("O relatório foi salvo em %1").arg(QDir::toNativeSeparators(file));
}

void ReportPreview::mostra(const Report::Document& document, Prompts& prompts, QWidget* parent) {
    ReportPreview preview(document, prompts, parent);
    preview.exec();
}

MostraRelatorio mostraNaPrevia(Prompts& prompts) {
    return [&prompts](const Report::Document& document, QWidget* parent) {
        ReportPreview::mostra(document, prompts, parent);
    };
}
