#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QStandardItemModel;
class QTableView;
class Session;

// "Controle de Versões - Instala Versão Anterior": installs again any version listed in the
// history whose archive is still in the reception directory.
class TFrmVersaoAnterior : public QDialog {
    Q_OBJECT
public:
    explicit TFrmVersaoAnterior(Session& session, QWidget* parent = nullptr);

    bool instalou() const { return instalou_; }

private:
    void atualiza();
    void mostraVersaoAtual();

    Session& session_;
    QLineEdit* EdVersaoAtual_;
    QLineEdit* EdNomeArquivo_;
    QTableView* grade_;
    QStandardItemModel* modelo_;
    QLabel* LbAtualiza_;
    QLabel* CkAtualiza_;
    QLineEdit* EdResultado_;
    QPushButton* BtAtualiza_;
    QPushButton* BtCancela_;
    QPushButton* BtSaida_;
    bool instalou_ = false;
};
