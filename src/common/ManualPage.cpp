#include "ManualPage.h"

namespace {

// Text as roff shows it literally: backslashes, minus signs (options are typed with them) and
// lines that would read as requests.
QString escaped(const QString& text) {
    QString out = text;
    out.replace(QLatin1Char('\\'), QStringLiteral("\\e"));
    out.replace(QLatin1Char('-'), QStringLiteral("\\-"));
    if (out.startsWith(QLatin1Char('.')) || out.startsWith(QLatin1Char('\'')))
        out.prepend(QStringLiteral("\\&"));
    return out;
}

// The texts of --help keep their own layout: lines indented by blanks are option tables and stay
// as they are; the others are running text.
QString body(const QString& text) {
    QString out;
    bool preformatted = false;
    bool afterText = false;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        if (line.trimmed().isEmpty()) {
            if (preformatted)
                out += QStringLiteral(".fi\n");
            preformatted = false;
            afterText = false;
            out += QStringLiteral(".PP\n");
            continue;
        }
        const bool indented = line.startsWith(QLatin1Char(' '));
        if (indented && !preformatted) {
            out += QStringLiteral(".nf\n");
            preformatted = true;
        } else if (!indented && preformatted) {
            out += QStringLiteral(".fi\n");
            preformatted = false;
        } else if (!indented && afterText) {
            out += QStringLiteral(".br\n");
        }
        out += escaped(indented ? line : line.trimmed()) + QLatin1Char('\n');
        afterText = !indented;
    }
    if (preformatted)
        out += QStringLiteral(".fi\n");
    return out;
}

} // namespace

QString ManualPage::toRoff() const {
    QString out = QStringLiteral(".TH %1 1 \"\" \"%2\" \"Comandos do usuário\"\n")
                      .arg(escaped(name.toUpper()), escaped(version));
    out += QStringLiteral(".SH NOME\n%1 \\- %2\n").arg(escaped(name), escaped(summary));
    out += QStringLiteral(".SH SINOPSE\n.nf\n");
    for (const QString& line : synopsis)
        out += escaped(line) + QLatin1Char('\n');
    out += QStringLiteral(".fi\n");
    for (const Section& section : sections) {
        if (!section.heading.isEmpty())
            out += QStringLiteral(".SH %1\n").arg(escaped(section.heading));
        if (!section.subheading.isEmpty())
            out += QStringLiteral(".SS %1\n").arg(escaped(section.subheading));
        if (!section.text.isEmpty())
            out += QStringLiteral(".PP\n") + body(section.text);
        for (const Item& item : section.items)
            out += QStringLiteral(".TP\n.B %1\n").arg(escaped(item.term)) + body(item.text);
        for (const QString& example : section.examples) {
            out += QStringLiteral(".PP\n.RS 4\n.nf\n");
            for (const QString& line : example.split(QLatin1Char('\n')))
                out += escaped(line) + QLatin1Char('\n');
            out += QStringLiteral(".fi\n.RE\n");
        }
    }
    return out;
}
