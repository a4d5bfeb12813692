#include "ImportacaoConsole.h"

#include <QTextStream>

int importaDiretorio(const ImportacaoTxt::Parametros& parametros, const QString& diretorio,
                     QTextStream& saida) {
    const QStringList arquivos = ImportacaoTxt::arquivosDoDiretorio(diretorio);
    if (arquivos.isEmpty()) {
        saida << "Nenhum arquivo " << ImportacaoTxt::MascaraArquivos << " em " << diretorio << "\n";
        saida.flush();
        return 2;
    }
    ImportacaoTxt run(parametros);
    int codigo = 0;
    for (const ResultadoArquivo& r : run.importa(diretorio, arquivos)) {
        saida << r.arquivo << ": ";
        switch (r.situacao) {
        case SituacaoArquivo::Importado:
            saida << "importado";
            break;
        case SituacaoArquivo::Recusado:
            saida << "recusado";
            codigo = 1;
            break;
        case SituacaoArquivo::Falhou:
            saida << "falhou";
            if (!r.logsDeErro.isEmpty())
                saida << " (" << r.logsDeErro.join(QStringLiteral(", ")) << ")";
            codigo = 1;
            break;
        }
        saida << "\n";
    }
    saida.flush();
    return codigo;
}
