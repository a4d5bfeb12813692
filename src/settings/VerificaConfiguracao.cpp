#include "VerificaConfiguracao.h"

#include "ConfigLocal.h"
#include "Paths.h"
#include "Prompts.h"
#include "TDMCapaSistema.h"

#include <QDir>

bool VerificaConfiguracao(TDMCapaSistema& dm, Prompts& prompts) {
    const QString work = Paths::workDirectory();
    if (!QDir().mkpath(work) || !QDir(work).exists())
        prompts.error(QStringLiteral("Ocorreu um Erro na Criação do Diretório."));
    // Settings stored before the directories were checked, or written by hand, may point the
    // exchange at the database's own directory: say so at once (the operations refuse them too).
    const std::optional<ConfigLocal> config = ConfigLocalTable::load(dm.database());
    if (const QString problema =
            ConfigLocalTable::problemaDiretoriosProtegidos(config.value_or(ConfigLocal{}));
        !problema.isEmpty())
        prompts.warning(problema + QStringLiteral(" Corrija em Configurações > Diretórios."),
                        QStringLiteral("Erro de Configuração"));
    if (dm.siglaCertificadorConfigurada().isEmpty()) {
        prompts.information(QStringLiteral("Dados da Configuração de diretórios incompleta. Verifique"));
        return false;
    }
    return true;
}
