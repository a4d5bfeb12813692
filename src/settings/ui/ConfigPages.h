#pragma once

#include "ConfigLocal.h"

#include <QWidget>

class Session;
class TDMCapaSistema;
class QLineEdit;
class QPushButton;

// The page "ConfigCertificador": the certifier's acronym and name.
class ConfigCertificadorPage : public QWidget {
    Q_OBJECT
public:
    ConfigCertificadorPage(Session& session, TDMCapaSistema& dm, QWidget* parent = nullptr);

    // Loads the row (or starts a new one) and remembers the acronym shown.
    void open();

signals:
    void saved();    // the row was saved (the users' rows now carry its acronym)
    void finished(); // back to the main page

private:
    void confirm();
    void cancel();

    Session& session_;
    TDMCapaSistema& dm_;
    ConfigLocal row_;
    QString siglaAnterior_;
    QLineEdit* DbeSiglaCert_;
    QLineEdit* DBEdit2_;
};

// The page "ConfiguraDiretorios": local directories, the authority's FTP addresses and the mail
// server. Editable only once the certifier is configured.
class ConfiguraDiretoriosPage : public QWidget {
    Q_OBJECT
public:
    ConfiguraDiretoriosPage(Session& session, TDMCapaSistema& dm, QWidget* parent = nullptr);

    void open();

signals:
    void finished();

private:
    void setEditable(bool editable);
    void browse(QLineEdit* target);
    void confirm();
    void cancel();
    ConfigLocal edited() const;

    Session& session_;
    TDMCapaSistema& dm_;
    ConfigLocal row_;
    QList<QPair<QLineEdit*, QString ConfigLocal::*>> fields_;
    QList<QPushButton*> browseButtons_;
    QPushButton* ok_;
};
