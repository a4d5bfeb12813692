#include "EntregaWidgets.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

namespace EntregaWidgets {

QLineEdit* campo(QFormLayout* form, QWidget* parent, const QString& name, const QString& caption) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setReadOnly(true);
    edit->setAccessibleName(QString(caption).remove(QLatin1Char('&')).trimmed());
    form->addRow(caption, edit);
    return edit;
}

QPushButton* botao(QWidget* parent, const QString& name, const QString& text) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

QLabel* marca(QWidget* parent, const QString& name) {
    auto* mark = new QLabel(QStringLiteral("\u2714"), parent);
    mark->setObjectName(name);
    mark->setVisible(false);
    return mark;
}

GrupoArquivo grupoArquivo(QWidget* parent, const QString& diretorio, const QString& arquivo) {
    GrupoArquivo g{};
    g.grupo = new QGroupBox(QStringLiteral("Arquivo a ser transferido"), parent);
    auto* form = new QFormLayout(g.grupo);
    g.EdDiretorio = campo(form, g.grupo, QStringLiteral("EdDiretorio"), QStringLiteral("Diretório"));
    g.EdArquivoTransferencia =
        campo(form, g.grupo, QStringLiteral("EdArquivoTransferencia"), QStringLiteral("Nome do Arquivo"));
    g.EdDiretorio->setText(diretorio);
    g.EdArquivoTransferencia->setText(arquivo);
    // Wide enough for the directory (up to 60 characters) and the file's name.
    const QFontMetrics metrics = g.EdDiretorio->fontMetrics();
    const int largura = std::max(metrics.horizontalAdvance(diretorio), metrics.horizontalAdvance(arquivo)) +
                        4 * metrics.averageCharWidth();
    g.EdDiretorio->setMinimumWidth(std::min(largura, 60 * metrics.averageCharWidth()));
    return g;
}

} // namespace EntregaWidgets
