#pragma once

#include <QWidget>

class QLabel;

// The panel "Principal": a picture and a status bar copying the shell's two status-bar texts.
class PanelPrincipalRegistro : public QWidget {
    Q_OBJECT
public:
    explicit PanelPrincipalRegistro(QWidget* parent = nullptr);

    void setImagem(const QPixmap& picture);
    void setTextosStatus(const QString& panel0, const QString& panel1);

private:
    QLabel* imagem_;
    QLabel* panel0_;
    QLabel* panel1_;
};
