#pragma once

#include <QDialog>
#include <QString>

class Session;

// "Detalhes da Empresa": every field of one company, read-only.
class TFrmDetalhesEmpresa : public QDialog {
    Q_OBJECT
public:
    TFrmDetalhesEmpresa(Session& session, const QString& codigoPais, const QString& idEmpresa,
                        QWidget* parent = nullptr);

    // False when no company has that key (the fields are then empty).
    bool encontrada() const { return encontrada_; }

private:
    bool encontrada_ = false;
};
