#pragma once

#include <QString>

// Every modal box and file or directory chooser of the program goes through this interface, so
// screens never call QMessageBox themselves and tests can answer and read what was shown.
enum class PromptKind {
    Information, // information box, OK
    Warning,     // warning box, OK
    Error,       // error box, OK
    Message,     // caption + text + one OK button
    YesNo,       // Sim/Não confirmation
    OkCancel,    // OK/Cancel confirmation
};

enum class PromptAnswer { Ok, Yes, No, Cancel };

class Prompts {
public:
    virtual ~Prompts() = default;

    // Shows one box and returns the button pressed.
    virtual PromptAnswer show(PromptKind kind, const QString& caption, const QString& text) = 0;

    // Directory and file choosers; an empty result means the user cancelled.
    virtual QString chooseDirectory(const QString& caption, const QString& startDirectory) = 0;
    virtual QString chooseOpenFile(const QString& caption, const QString& startDirectory,
                                   const QString& filter) = 0;
    virtual QString chooseSaveFile(const QString& caption, const QString& startDirectory,
                                   const QString& filter) = 0;

    // The hourglass while the program waits for something (an archiver, a server); nested calls
    // are balanced by the caller. Without a screen there is nothing to show.
    virtual void setBusy(bool /*busy*/) {}

    void information(const QString& text, const QString& caption = {}) {
        show(PromptKind::Information, caption, text);
    }
    void warning(const QString& text, const QString& caption = {}) {
        show(PromptKind::Warning, caption, text);
    }
    void error(const QString& text, const QString& caption = {}) { show(PromptKind::Error, caption, text); }
    void message(const QString& caption, const QString& text) { show(PromptKind::Message, caption, text); }
    // True when the user answers "Sim".
    bool confirm(const QString& text, const QString& caption = {}) {
        return show(PromptKind::YesNo, caption, text) == PromptAnswer::Yes;
    }
    // True when the user answers "OK".
    bool okCancel(const QString& text, const QString& caption = {}) {
        return show(PromptKind::OkCancel, caption, text) == PromptAnswer::Ok;
    }
};

// Shows the hourglass for the lifetime of the object.
class BusyScope {
public:
    explicit BusyScope(Prompts& prompts) : prompts_(prompts) { prompts_.setBusy(true); }
    ~BusyScope() { prompts_.setBusy(false); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    Prompts& prompts_;
};
