#include "TFrmInclProduto.h"
#include "Controls.h"

#include "Widgets.h"

#include "Session.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

void ligaCampoProduto(QLineEdit* edit, QLabel* contador) {
    contador->setVisible(false);
    QObject::connect(edit, &QLineEdit::textChanged, contador, [edit, contador](const QString& text) {
        int blanks = 0;
        while (blanks < text.size() && text[blanks] == QLatin1Char(' '))
            ++blanks;
        if (blanks > 0) {
            const int cursor = edit->cursorPosition();
            edit->setText(text.mid(blanks));
            edit->setCursorPosition(std::max(0, cursor - blanks));
            return;
        }
        contador->setText(QStringLiteral("(%1)").arg(text.size()));
        contador->setVisible(!text.isEmpty());
    });
    QObject::connect(edit, &QLineEdit::editingFinished, edit, [edit] {
        const QString trimmed = edit->text().trimmed();
        if (trimmed != edit->text())
            edit->setText(trimmed);
    });
}

QHBoxLayout* campoProdutoComContador(QLineEdit* edit, const QString& counterName) {
    auto* row = new QHBoxLayout;
    auto* contador = new QLabel(edit->parentWidget());
    contador->setObjectName(counterName);
    ligaCampoProduto(edit, contador);
    row->addWidget(edit, 1);
    row->addWidget(contador);
    return row;
}

namespace {} // namespace

TFrmInclProduto::TFrmInclProduto(Session& session, QWidget* parent) : QDialog(parent), tabela_(session) {
    setObjectName(QStringLiteral("FrmInclProduto"));
    setWindowTitle(QStringLiteral("Inclusao de Produto"));
    tabela_.inclui();
    auto* layout = new QVBoxLayout(this);
    auto* grupo = new QGroupBox(QStringLiteral("Inclusão de Produto Novo"), this);
    auto* form = new QFormLayout(grupo);
    edtMarca_ = Widgets::campo(grupo, QStringLiteral("edtMarca"), Produtos::TamanhoMaximoTexto);
    edtModelo_ = Widgets::campo(grupo, QStringLiteral("edtModelo"), Produtos::TamanhoMaximoTexto);
    edtEANUPC_ = Widgets::campo(grupo, QStringLiteral("edtEANUPC"), 128);
    edtDescricao_ = Widgets::campo(grupo, QStringLiteral("edtDescricao"), Produtos::TamanhoMaximoTexto);
    chkImportado_ = new QCheckBox(QStringLiteral("Produto Importado ?"), grupo);
    chkImportado_->setObjectName(QStringLiteral("chkImportado"));
    form->addRow(Controls::caption(QStringLiteral("Marca"), edtMarca_, grupo),
                 campoProdutoComContador(edtMarca_, QStringLiteral("lblTamMarca")));
    form->addRow(Controls::caption(QStringLiteral("Modelo"), edtModelo_, grupo),
                 campoProdutoComContador(edtModelo_, QStringLiteral("lblTamModelo")));
    form->addRow(QStringLiteral("EAN/UPC"), edtEANUPC_);
    form->addRow(Controls::caption(QStringLiteral("Descrição"), edtDescricao_, grupo),
                 campoProdutoComContador(edtDescricao_, QStringLiteral("lblTamDescricao")));
    form->addRow(chkImportado_);
    layout->addWidget(grupo);

    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("btnOk"));
    auto* cancela = new QPushButton(QStringLiteral("Cancela"), this);
    cancela->setObjectName(QStringLiteral("btnCancela"));
    ok->setAutoDefault(false);
    cancela->setAutoDefault(false);
    botoes->addWidget(ok);
    botoes->addWidget(cancela);
    layout->addLayout(botoes);
    connect(ok, &QPushButton::clicked, this, &TFrmInclProduto::ok);
    connect(cancela, &QPushButton::clicked, this, &QDialog::reject);
}

void TFrmInclProduto::ok() {
    Produto p;
    p.MarcaProd = edtMarca_->text();
    p.ModeloProd = edtModelo_->text();
    p.CodEANUPC = edtEANUPC_->text();
    p.DescrProd = edtDescricao_->text();
    p.Importado = chkImportado_->isChecked() ? 1 : 0;
    if (tabela_.incluiRapido(p))
        accept();
}

std::optional<ProdutoEscolhido> TFrmInclProduto::inclui(Session& session, QWidget* parent) {
    TFrmInclProduto dialog(session, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const Produto& p = dialog.produto();
    return ProdutoEscolhido{p.MarcaProd, p.ModeloProd, p.Importado, p.CodEANUPC};
}
