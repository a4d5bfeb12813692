#pragma once

#include "ChaveCertificado.h"

#include <QDialog>
#include <QHash>
#include <QSet>

class PanelExcluiCertificado;
class PanelModificaCertificado;
class PanelNovoCertificado;
class PanelPrincipalRegistro;
class PanelTabKavorel;
class QAction;
class QMenuBar;
class QStackedWidget;
class QToolButton;
class SlotPanel;
class TDMCertif;

// "Tarvendix - Manutenção da Base de Dados": the registry screen. Eight panels, one shown at a
// time, switched by the menu and the speed buttons; each panel is its own widget class.
//
// Screens that come later plug in here: installPanel() fills the "TabEmpresa", "TabProduto" or
// "Signatarios" panel and enables its menu entry and speed button; setFunction() makes a report
// or import entry available. Until then those entries stay disabled.
class TFormPrincipal : public QDialog {
    Q_OBJECT
public:
    TFormPrincipal(TDMCertif& dm, QWidget* parent = nullptr);
    ~TFormPrincipal() override;

    // Shows the named panel, hides the others, and leaves the menu and speed buttons enabled only
    // outside the five editing modes.
    void MostraPainel(const QString& name);
    QString painelAtual() const;
    QWidget* painel(const QString& name) const { return paineis_.value(name); }

    void setEscolheCertificado(EscolheCertificado chooser);
    void setImagem(const QPixmap& picture);
    void setTextosStatus(const QString& panel0, const QString& panel1);

    void installPanel(const QString& name, QWidget* content);
    void setFunction(const QString& actionName, std::function<void()> run);

    // The menu actions of the screen.
    void novoCertificado();
    void modificaCertificado();
    void excluiCertificado();
    void tabelasKavorel();

    PanelNovoCertificado* panelNovo() const { return novo_; }
    PanelModificaCertificado* panelModifica() const { return modifica_; }
    PanelExcluiCertificado* panelExclui() const { return exclui_; }
    PanelTabKavorel* panelKavorel() const { return kavorel_; }
    TDMCertif& dm() const { return dm_; }

private:
    void buildMenus(QMenuBar* bar);
    QWidget* buildToolBar();
    QAction* addAction(QMenu* menu, const QString& name, const QString& text, std::function<void()> run);
    QToolButton* addButton(QWidget* bar, const QString& name, const QString& hint, int icon,
                           std::function<void()> run);
    void addPanel(const QString& name, QWidget* panel);
    void applyEnabled();

    TDMCertif& dm_;
    QMenuBar* menuBar_ = nullptr;
    QWidget* toolBar_ = nullptr;
    QStackedWidget* stack_ = nullptr;
    QHash<QString, QWidget*> paineis_;
    PanelPrincipalRegistro* principal_ = nullptr;
    PanelNovoCertificado* novo_ = nullptr;
    PanelModificaCertificado* modifica_ = nullptr;
    PanelExcluiCertificado* exclui_ = nullptr;
    PanelTabKavorel* kavorel_ = nullptr;
    QHash<QString, std::function<void()>> functions_; // by action or button name
    QHash<QString, QAction*> actions_;
    QHash<QString, QToolButton*> buttons_;
    QHash<QString, QStringList> controlsOfPanel_; // a later panel's menu entry and speed button
    bool livre_ = true;
};
