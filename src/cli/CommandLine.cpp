#include "CommandLine.h"

#include <algorithm>

std::optional<CommandLine> CommandLine::parse(const QStringList& arguments, QString* error,
                                              const QStringList& valued) {
    CommandLine line;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        const auto value = [&](const QString& name, QString& target) {
            if (argument.startsWith(name + QLatin1Char('='))) {
                target = argument.mid(name.size() + 1);
                return true;
            }
            if (argument != name)
                return false;
            if (i + 1 >= arguments.size()) {
                *error = QStringLiteral("A opção %1 precisa de um valor.").arg(name);
                target.clear();
                return true;
            }
            target = arguments[++i];
            return true;
        };
        if (value(QStringLiteral("--home"), line.home) || value(QStringLiteral("--user"), line.user)) {
            if (!error->isEmpty())
                return std::nullopt;
            continue;
        }
        const auto option = std::find_if(valued.begin(), valued.end(), [&](const QString& name) {
            return argument == name || argument.startsWith(name + QLatin1Char('='));
        });
        if (option != valued.end()) {
            value(*option, line.values[*option]);
            if (!error->isEmpty())
                return std::nullopt;
            line.options.append(*option);
            continue;
        }
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h"))
            line.help = true;
        else if (argument.startsWith(QLatin1Char('-')))
            line.options.append(argument);
        else
            line.words.append(argument);
    }
    return line;
}
