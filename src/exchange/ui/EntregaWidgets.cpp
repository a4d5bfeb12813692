#include "EntregaWidgets.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

namespace EntregaWidgets {

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
