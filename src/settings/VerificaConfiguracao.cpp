#include "VerificaConfiguracao.h"

#include "Paths.h"
#include "Prompts.h"
#include "TDMCapaSistema.h"

#include <QDir>

bool VerificaConfiguracao(TDMCapaSistema& dm, Prompts& prompts) {
    const QString work = Paths::workDirectory();
    if (!QDir().mkpath(work) || !QDir(work).exists())
        prompts.error(QStringLiteral("Ocorreu um Erro na Criação do Diretório."));
    if (dm.siglaCertificadorConfigurada().isEmpty()) {
        prompts.information(QStringLiteral("Dados da Configuração de diretórios incompleta. Verifique"));
        return false;
    }
    return true;
}
