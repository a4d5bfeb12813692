#pragma once

#include "TDataStruct.h"

// What the run writes besides the file's own records: the inclusion event of every new row, and
// the CTR_HISTORICO bookkeeping of which written rows have their history in the same file.
namespace HistoricoImportacao {

// The INC event of a row just inserted (only for record types with an event table): the row's key,
// "Historico gerado pelo sistema", HistoricoSis "2", the row's DthUltAtualiz, UsuResp and status
// date; the status is the row's own for certificates and company links, "A" for the others.
// Returns false when the event could not be written (logged).
bool geraInclusao(const ContextoImportacao& ctx, const TDataStruct& registro);

// Notes the written record in CTR_HISTORICO: an event with historico "1", an updated row with "0"
// until an event of the same item, written after it, turns it to "1". New rows (their own inclusion
// event is written with them), companies and products (they have no events) are not noted. Returns
// false when the note failed.
bool registraControle(const ContextoImportacao& ctx, const TDataStruct& registro, bool inserido);

} // namespace HistoricoImportacao
