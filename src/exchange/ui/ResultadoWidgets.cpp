#include "ResultadoWidgets.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <tuple>

namespace ResultadoWidgets {

void mantemLugar(QWidget* widget) {
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

QLabel* marca(QWidget* parent, const QString& name) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    const int size = parent->style()->pixelMetric(QStyle::PM_SmallIconSize);
    label->setPixmap(parent->style()->standardIcon(QStyle::SP_DialogApplyButton).pixmap(size, size));
    label->setAccessibleName(QStringLiteral("Concluído"));
    label->setVisible(false);
    mantemLugar(label);
    return label;
}

QGroupBox* dadosDaRemessa(QWidget* parent, const QString& numero, const QString& arquivo) {
    auto* grupo = new QGroupBox(QStringLiteral("Dados da Remessa: "), parent);
    auto* form = new QFormLayout(grupo);
    const auto mostraInteiro = [](QLineEdit* edit, const QString& text) {
        edit->setText(text);
        // The whole name shows: it is what the user compares with the files.
        const QMargins margins = edit->textMargins() + edit->contentsMargins();
        edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(text + QStringLiteral("  ")) +
                              margins.left() + margins.right() + 8);
    };
    mostraInteiro(
        campo(form, grupo, QStringLiteral("EdNumeroRemessa"), QStringLiteral("Número da Remessa: ")), numero);
    mostraInteiro(campo(form, grupo, QStringLiteral("EdArquivoRemessa"),
                        QStringLiteral("Arquivo Enviado ao Kavorel: ")),
                  arquivo);
    return grupo;
}

Sincronizacao sincronizacao(QWidget* parent) {
    auto* grupo = new QGroupBox(QStringLiteral("Sincronização da Base de Dados"), parent);
    auto* label = new QLabel(QStringLiteral("Sincronizando a Base de Dados.... Aguarde."), grupo);
    label->setObjectName(QStringLiteral("LbSincroniza"));
    label->setVisible(false);
    mantemLugar(label);
    QLabel* check = marca(grupo, QStringLiteral("CkSincroniza"));
    auto* layout = new QHBoxLayout(grupo);
    layout->addWidget(check);
    layout->addWidget(label, 1);
    return {grupo, label, check};
}

} // namespace ResultadoWidgets
