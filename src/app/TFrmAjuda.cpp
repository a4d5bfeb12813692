#include "TFrmAjuda.h"

#include "AppInfo.h"
#include "Pictures.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

TFrmAjuda::TFrmAjuda(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TFrmAjuda"));
    setWindowTitle(QStringLiteral("Sobre o Sistema..."));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("ImgLogo"));
    picture->setPixmap(Pictures::seal(96));

    auto* title = new QLabel(QStringLiteral("Tarvendix - Módulo OCC"), this);
    title->setObjectName(QStringLiteral("LbTitulo"));
    QFont bold = title->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.3);
    title->setFont(bold);

    auto* version = new QLabel(AppInfo::Version + AppInfo::VersionDate, this);
    version->setObjectName(QStringLiteral("LbVersao"));
    auto* email = new QLabel(Email, this);
    email->setObjectName(QStringLiteral("LbEmail"));
    auto* site = new QLabel(WebSite, this);
    site->setObjectName(QStringLiteral("LbSite"));
    for (QLabel* label : {email, site})
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* texts = new QVBoxLayout;
    texts->addWidget(title);
    texts->addWidget(version);
    texts->addSpacing(12);
    texts->addWidget(email);
    texts->addWidget(site);
    texts->addStretch();

    auto* top = new QHBoxLayout;
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(texts);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
}

void TFrmAjuda::showEvent(QShowEvent* event) {
    // Centred on the desktop, not on the main window.
    if (const QScreen* s = screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(s->availableGeometry().center());
        move(frame.topLeft());
    }
    QDialog::showEvent(event);
}
