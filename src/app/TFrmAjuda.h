#pragma once

#include <QDialog>

// The about box: the program's title and version, how to reach the authority, and OK.
class TFrmAjuda : public QDialog {
    Q_OBJECT
public:
    explicit TFrmAjuda(QWidget* parent = nullptr);

    static inline const QString Email = QStringLiteral("atendimento@kavorel.gov.br");
    static inline const QString WebSite = QStringLiteral("www.kavorel.gov.br");

protected:
    void showEvent(QShowEvent* event) override;
};
