#pragma once

#include <QList>
#include <QString>

// The record types of a "TX-" import file, as data: one table per type lists its fields with their
// position in the file, type, key and required marks and the check the field's name calls for.

enum class TipoCampo { Texto, InteiroCurto, Inteiro, Float, Data, DataHora };

// The check a field gets besides its type and required mark, decided by its name.
enum class Verificacao {
    Nenhuma,
    Sigla,          // SiglaCertificador: the run's acronym
    DataEmissao,    // not after now
    DataValid,      // not before the issue date, year before 2080
    DataValLote,    // year before 2080
    Situacao,       // STATUS...: A, C or S
    Evento,         // INC, ALT, CAN, SUS, REA or APR
    Importado,      // 0 or 1
    HistoricoSis,   // 1 or 2
    TamanhoProduto, // MarcaProd, ModeloProd: at most 105 characters for now
    TipoPessoa,     // company records: 1 or 2
    // Codes of the reference tables; a code the table lacks is refused.
    Pais,              // CodigoPais: PAIS
    PapelEmpresa,      // IdPapelEmp: PAPEL_EMP
    ClasseCertificado, // IdClasseCertif: CLASSE_C
    ClasseProduto,     // IdClasseProd: CLASSE_P
    ClasseServico,     // IdClasseServ: CLASSE_S
};

// Whether the check reads the value in upper case; such a value is stored in upper case too, so the
// register's exact comparisons find it.
bool comparaEmMaiusculas(Verificacao verificacao);

struct DefinicaoCampo {
    QString nome;           // column of the target table
    bool novaLinha = false; // the reader takes the next line before reading this field
    int coluna = 0;         // 1-based; 0 for fields the program fills
    int largura = 0;        // 0 for fields the program fills
    TipoCampo tipo = TipoCampo::Texto;
    bool chave = false;
    bool obrigatorio = false;
    bool sequencia = false; // SeqEvento: the next event number of the table
    Verificacao verificacao = Verificacao::Nenhuma;
    bool maiusculas = false; // stored in upper case (a coded value)
};

struct EstruturaRegistro {
    QString header;               // "[CERTIFIC]"; empty for the bookkeeping record
    QString classe;               // shown in the import screen's list
    QString tabela;               // target table
    QString tabelaHistorico;      // table of this table's events, empty when none
    QString tabelaPai;            // for an event record, the table whose rows it is the history of
    bool verificaEmpresa = false; // company identity checks (CNPJ, CPF, foreign name)
    // DthUltAtualiz and UsuResp first, then the type's own fields, then SeqEvento for event records.
    QList<DefinicaoCampo> campos;

    // Position of the field, names compared ignoring case and blanks; -1 when absent.
    int indice(const QString& nome) const;
    bool ehHistorico() const { return !tabelaPai.isEmpty(); }
};

namespace EstruturasTxt {

// The 26 file record types, in the reader's list order.
const QList<EstruturaRegistro>& todas();
// The type of a header ("[TIPO]"), compared exactly; nullptr when it is not one of the list.
const EstruturaRegistro* porHeader(const QString& header);
// The type writing a table (case-insensitive); nullptr when none.
const EstruturaRegistro* porTabela(const QString& tabela);
// CTR_HISTORICO, the run's bookkeeping of which written rows have their history in the file.
const EstruturaRegistro& ctrHistorico();

} // namespace EstruturasTxt
