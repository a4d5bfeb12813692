#include "TFrmRestauraCopia.h"

#include "Controls.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

TFrmRestauraCopia::TFrmRestauraCopia(const QList<Backups::Copy>& copies, QWidget* parent)
    : QDialog(parent), copies_(copies) {
    setObjectName(QStringLiteral("TFrmRestauraCopia"));
    setWindowTitle(QStringLiteral("Restaurar cópia"));

    auto* text =
        new QLabel(QStringLiteral("Escolha a cópia que vai substituir o banco de dados. O banco de dados "
                                  "atual será antes copiado."),
                   this);
    text->setWordWrap(true);

    grid_ = new QTableWidget(int(copies_.size()), 4, this);
    grid_->setObjectName(QStringLiteral("grdCopias"));
    grid_->setHorizontalHeaderLabels({QStringLiteral("Data"), QStringLiteral("Tamanho"),
                                      QStringLiteral("Motivo"), QStringLiteral("Arquivo")});
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->verticalHeader()->setVisible(false);
    const QLocale locale(QLocale::Portuguese, QLocale::Brazil);
    for (int row = 0; row < copies_.size(); ++row) {
        const Backups::Copy& copy = copies_[row];
        grid_->setItem(row, 0,
                       new QTableWidgetItem(copy.when.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"))));
        auto* size =
            new QTableWidgetItem(locale.formattedDataSize(copy.size, 1, QLocale::DataSizeTraditionalFormat));
        size->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid_->setItem(row, 1, size);
        grid_->setItem(row, 2, new QTableWidgetItem(Backups::describeReason(copy.reason)));
        grid_->setItem(row, 3, new QTableWidgetItem(QFileInfo(copy.file).fileName()));
    }
    Controls::fitColumns(grid_);

    auto* buttons = new QDialogButtonBox(this);
    restore_ = buttons->addButton(QStringLiteral("&Restaurar"), QDialogButtonBox::AcceptRole);
    restore_->setObjectName(QStringLiteral("btnRestaurar"));
    QPushButton* cancel = buttons->addButton(QStringLiteral("&Cancelar"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("btnCancelar"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // Nothing to restore until a copy is chosen.
    restore_->setEnabled(false);
    connect(grid_, &QTableWidget::itemSelectionChanged, this,
            [this] { restore_->setEnabled(!grid_->selectedItems().isEmpty()); });
    connect(grid_, &QTableWidget::cellDoubleClicked, this, [this] { accept(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(grid_, 1);
    layout->addWidget(buttons);
    resize(720, 360);
}

std::optional<Backups::Copy> TFrmRestauraCopia::chosen() const {
    if (result() != QDialog::Accepted)
        return std::nullopt;
    const QList<QTableWidgetItem*> selected = grid_->selectedItems();
    if (selected.isEmpty())
        return std::nullopt;
    return copies_.value(selected.first()->row());
}
