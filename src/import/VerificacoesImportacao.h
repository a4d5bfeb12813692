#pragma once

#include "TDataStruct.h"

#include <QList>
#include <QPair>
#include <functional>

using ChaveCertificadoTxt = QPair<QString, QString>; // SiglaCertificador, NumCertif

// The checks a file must pass before it is committed, and what follows a committed file. Each
// failing check writes its report to "Log_BD.txt" and returns false; they run inside the file's
// transaction. Database errors are thrown as DbError.
namespace VerificacoesImportacao {

// Rows of CTR_HISTORICO still marked "0": updates without an event of the same item written after
// them. When there are none the bookkeeping is emptied.
bool atualizacoesJustificadas(const ContextoImportacao& ctx);

// Type, lot and unit lines (of the whole database) whose company is not linked to their certificate.
bool empresasVinculadas(const ContextoImportacao& ctx);

// Rows of the file's certificates whose certificate, product, company or item does not exist:
// a line without its certificate, product or company, an event or document link without its item.
bool paisExistem(const ContextoImportacao& ctx, const QList<ChaveCertificadoTxt>& certificados);

// "CONTROLE_TXT": whether the file name was imported before (compared exactly), and its registration.
bool jaImportado(const QSqlDatabase& db, const QString& nomeArquivo);
bool registraArquivo(const ContextoImportacao& ctx, const QString& nomeArquivo);

// Marks complete every certificate of the list that has a company, a product line or service, and
// a normative document; when `aprova`, also approves it and records its APR event. A certificate of
// the list that is not complete loses both marks (the file changed it). Returns how many were
// marked complete; `progresso` is called with the count of certificates looked at.
int marcaCompletos(const ContextoImportacao& ctx, const QList<ChaveCertificadoTxt>& certificados, bool aprova,
                   const std::function<void(int)>& progresso = {});

} // namespace VerificacoesImportacao
