#include "TFrmJustificativa.h"
#include "Controls.h"

#include "Clock.h"
#include "Prompts.h"
#include "Session.h"

#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

const QString FormatoData = QStringLiteral("dd/MM/yyyy");

} // namespace

TFrmJustificativa::TFrmJustificativa(Session& session, bool perguntaData, const QDate& dataEmissao,
                                     QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), session_(session),
      perguntaData_(perguntaData), dataEmissao_(dataEmissao), edtJustificativa_(new QLineEdit(this)),
      lblData_(new QLabel(QStringLiteral("Data do Status :"), this)), MaskEdit1_(new QLineEdit(this)) {
    setObjectName(QStringLiteral("TFrmJustificativa"));
    setWindowTitle(QStringLiteral("Justificativa"));
    setModal(true);

    edtJustificativa_->setObjectName(QStringLiteral("edtJustificativa"));
    // The column holds 255 characters: the edit takes no more, so nothing is cut on saving.
    edtJustificativa_->setMaxLength(255);
    edtJustificativa_->setMinimumWidth(420);
    MaskEdit1_->setObjectName(QStringLiteral("MaskEdit1"));
    MaskEdit1_->setInputMask(QStringLiteral("99/99/9999;_"));
    Controls::startAtFirstPositionWhenEmpty(MaskEdit1_);
    lblData_->setObjectName(QStringLiteral("lblDataStatus"));
    lblData_->setBuddy(MaskEdit1_);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    auto* cancela = new QPushButton(QStringLiteral("Cancela"), this);
    cancela->setObjectName(QStringLiteral("btnCancela"));
    cancela->setAutoDefault(false);

    auto* labelJustificativa = new QLabel(QStringLiteral("&Justificativa :"), this);
    labelJustificativa->setBuddy(edtJustificativa_);
    auto* dataRow = new QHBoxLayout;
    dataRow->addWidget(lblData_);
    dataRow->addWidget(MaskEdit1_);
    dataRow->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancela);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(labelJustificativa);
    layout->addWidget(edtJustificativa_);
    layout->addLayout(dataRow);
    layout->addLayout(buttons);

    hoje_ = session_.clock().today();
    lblData_->setVisible(perguntaData_);
    MaskEdit1_->setVisible(perguntaData_);
    if (perguntaData_)
        MaskEdit1_->setText(hoje_.toString(FormatoData));

    connect(ok, &QPushButton::clicked, this, &TFrmJustificativa::confirma);
    connect(cancela, &QPushButton::clicked, this, &QDialog::reject);
}

void TFrmJustificativa::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (centrado_)
        return;
    centrado_ = true;
    QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

bool TFrmJustificativa::dataValida() {
    Prompts& prompts = session_.prompts();
    const QString texto = MaskEdit1_->text().trimmed();
    QString digitos = texto;
    digitos.remove(QLatin1Char('/'));
    if (digitos.trimmed().isEmpty()) {
        prompts.error(QStringLiteral("É necessário informar a  data do Status."));
        return false;
    }
    const QDate data = QDate::fromString(texto, FormatoData);
    if (!MaskEdit1_->hasAcceptableInput() || !data.isValid()) {
        prompts.error(QStringLiteral("Data inválida."));
        return false;
    }
    if (dataEmissao_.isValid() && data < dataEmissao_) {
        prompts.error(QStringLiteral("Data do Status menor do que a data de Emisão do Certificado."));
        return false;
    }
    if (data > hoje_) {
        prompts.error(QStringLiteral("Data do Status maior que a data atual."));
        return false;
    }
    dataStatus_ = data;
    return true;
}

void TFrmJustificativa::confirma() {
    if (perguntaData_ && !dataValida()) {
        MaskEdit1_->setFocus();
        return;
    }
    if (edtJustificativa_->text().trimmed().isEmpty()) {
        session_.prompts().error(QStringLiteral("O campo de justificativa não pode ser deixado em branco."),
                                 QStringLiteral("Erro de edição"));
        edtJustificativa_->setFocus();
        return;
    }
    aceito_ = true;
    accept();
}

std::optional<Justificativa> TFrmJustificativa::resultado() const {
    if (!aceito_)
        return std::nullopt;
    return Justificativa{edtJustificativa_->text(), perguntaData_ ? dataStatus_ : QDate()};
}

JustificationAsker justificationDialogAsker(Session& session, QWidget* parent) {
    QPointer<QWidget> owner(parent);
    return [&session, owner](bool perguntaData, const QDate& dataEmissao) -> std::optional<Justificativa> {
        TFrmJustificativa dialog(session, perguntaData, dataEmissao, owner.data());
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.resultado();
    };
}
