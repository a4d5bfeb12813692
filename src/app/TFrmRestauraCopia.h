#pragma once

#include "Backups.h"

#include <QDialog>

class QTableWidget;
class QPushButton;

// "Restaurar cópia...": the copies of the database, newest first, with their date, size and what
// made each; "Restaurar" closes the box with the chosen one, which the main window then restores.
class TFrmRestauraCopia : public QDialog {
    Q_OBJECT
public:
    explicit TFrmRestauraCopia(const QList<Backups::Copy>& copies, QWidget* parent = nullptr);

    // The copy chosen, when the box was closed with "Restaurar".
    std::optional<Backups::Copy> chosen() const;

private:
    QList<Backups::Copy> copies_;
    QTableWidget* grid_ = nullptr;
    QPushButton* restore_ = nullptr;
};
