#pragma once

#include <QDialog>

class QSpinBox;

// "Certificados a Vencer": asks within how many days (60 unless changed) the validity ends.
class TFrmCertificadosAVencer : public QDialog {
    Q_OBJECT
public:
    explicit TFrmCertificadosAVencer(QWidget* parent = nullptr);
    int dias() const;
    void setDias(int dias);

private:
    QSpinBox* spnDias_;
};
