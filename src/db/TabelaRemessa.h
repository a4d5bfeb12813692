#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Which rows of a table belong to a batch.
enum class EscopoRemessa {
    Certificado, // rows of approved certificates (joined on SiglaCertificador, NumCertif)
    Empresa,     // companies named by an EMP_CERT row of an approved certificate
    Produto,     // products used by a TIPO, LOTE or UNIDADE row of an approved certificate
    Certific,    // the approved certificates themselves; exclusions without approval
    Tabela,      // the whole table (CONFIG_LOCAL, SIGNATARIOS, USU_LOCAL)
};

// The four statements of a table: inclusions, alterations, exclusions, total.
enum class ConsultaRemessa { I, A, E, T };

// One exchanged table, as data: the statements are generated from it (TDMTabelasData).
struct TabelaRemessa {
    QString Nome;           // base name of the batch files ("Empresa", "doc_norm_lote", "USU_LOCAL")
    QString Rotulo;         // progress text
    QStringList chave;      // the key compared by I and A
    QStringList chaveE;     // the key compared by E (the key itself unless a shorter one is given)
    QStringList comparadas; // the columns whose difference makes an alteration
    EscopoRemessa escopo = EscopoRemessa::Certificado;

    // The live table (Nome; the database ignores case) and its replica "REP_" + Nome.
    QString tabela() const { return Nome.toUpper(); }
    QString replica() const { return QStringLiteral("REP_") + Nome.toUpper(); }
    // "Qr" + Nome + "_I" (the settings tables in lower case, e.g. "Qrusu_local_T", "Qrstatus_dnu_T").
    QString nomeConsulta(ConsultaRemessa consulta) const;
};

// The 29 exchanged tables in batch order (MontaTabelasRemessa).
const QList<TabelaRemessa>& TabelasRemessa();

// The suffix of the statement's name: "_I", "_A", "_E", "_T".
QString sufixoConsulta(ConsultaRemessa consulta);
// The suffix of the batch file the rows go into: "_I", "_A", "_E" (T rows go into "_I").
QString sufixoArquivo(ConsultaRemessa consulta);
