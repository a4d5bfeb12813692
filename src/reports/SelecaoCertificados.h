#pragma once

#include "SelectionQueries.h"

#include <QSqlDatabase>
#include <QString>
#include <optional>

// The filters of "Relatórios de Certificados" and the selection they make: the statement with its
// bound values and the selection text printed in the reports' headers ("Seleção: ...").
struct ClasseEscolhida {
    QVariant id;
    QString nome;
};

struct EmpresaFiltro {
    QString CodigoPais;
    QString IdEmpresa;
    QString nome; // the corporate name or the person's name, as shown
};

enum class FiltroStatus { Todos, Ativos, Cancelados, Suspensos };
enum class FiltroAprovacao { Todos, Aprovados, NaoAprovados };

struct FiltroRelatorio {
    QString numero; // anywhere in the number, case-blind
    std::optional<ClasseEscolhida> classeCertificado;
    std::optional<ClasseEscolhida> classeProduto;
    std::optional<EmpresaFiltro> empresa;
    std::optional<ProdutoFiltro> produto;
    std::optional<ClasseEscolhida> classeServico;
    FiltroImportado importado = FiltroImportado::Todos;
    FiltroStatus status = FiltroStatus::Todos;
    FiltroAprovacao aprovacao = FiltroAprovacao::Todos;
};

struct SelecaoCertificados {
    ConsultaMontada consulta; // every column of CERTIFIC, NomClasseCertif and NomClasseProd
    QString texto;            // "Seleção: ..."
};

SelecaoCertificados montaSelecao(const FiltroRelatorio& filtro);
// Number of certificates the selection holds. Throws DbError.
int contaSelecao(const QSqlDatabase& db, const SelecaoCertificados& selecao);
// The count as the screen shows it: "###.###" with a point between thousands; empty for zero.
QString formataContagem(qint64 count);
