#pragma once

#include <QDialog>
#include <QStringList>

class QListWidget;
class QTextBrowser;
class QWidget;

// "Manual de Uso": the how-tos of docs/, shipped inside the program, in a window with their list on
// the left and the page on the right. Links between the how-tos open in the same window.
class HelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows the how-to (a file name of docs/, "howto-remessa.md"); an unknown name shows the first.
    void showTopic(const QString& topic);
    // The how-to in view.
    QString currentTopic() const;

    // The how-tos in the order of the contents list, and the title each one gives itself.
    static QStringList topics();
    static QString titleOf(const QString& topic);
    // The how-to of the screen the widget belongs to: the first window or page, from the widget up,
    // that a how-to explains; the first how-to when none does.
    static QString topicFor(const QWidget* widget);

    // Opens the manual on the topic over `from`'s window (above a modal dialog when one is open), or
    // brings the one already open there to the front on that topic.
    static HelpWindow* open(QWidget* from, const QString& topic);

private:
    void sourceChanged();

    QListWidget* contents_;
    QTextBrowser* page_;
};

// Installs F1 on every screen of the program: the manual opens on the how-to of the screen in use.
// Lives as long as `owner`.
void installHelpKey(QObject* owner);
