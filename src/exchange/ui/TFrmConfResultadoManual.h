#pragma once

#include <QDialog>

class QLineEdit;

// "Confirma Resultado Manual": shows what the typed code says ("Remessa Válida" or "Remessa
// Inválida") and asks for the confirmation; only BtOK confirms.
class TFrmConfResultadoManual : public QDialog {
    Q_OBJECT
public:
    explicit TFrmConfResultadoManual(const QString& resultado, QWidget* parent = nullptr);

private:
    QLineEdit* EdResultado_;
};
