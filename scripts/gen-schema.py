#!/usr/bin/env python3
"""Writes src/db/schema.sql, the schema of the database CapaCertific.

Every table is described once below; the replicas REP_ are generated from the descriptions of
their live tables, so they cannot drift apart. Run it from anywhere after changing a description:

    python3 scripts/gen-schema.py

Both this script and its output are kept in the repository; the build only embeds schema.sql.

Column notation: "Name:type" with an optional "!" (required, NOT NULL) and "=value" (DEFAULT).
Types: sN  text of up to N characters, declared VARCHAR(N)
       si  16-bit whole number, declared SMALLINT
       i   32-bit whole number, declared INTEGER
       b   boolean stored as 0/1, declared BOOLEAN
       dt  date-time stored as "yyyy-MM-ddTHH:mm:ss.zzz" (what Qt writes for a bound QDateTime),
           declared DATETIME
Every column gets a named CHECK, so SQLite's message ("CHECK constraint failed: <name>") says which
column failed and why. Checks let NULL through; NOT NULL is what makes a column required.
Key columns are always NOT NULL.
"""

import os
import re

# --- column types -------------------------------------------------------------------------------

DATETIME_GLOB = "[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]T[0-9][0-9]:[0-9][0-9]:[0-9][0-9].[0-9][0-9][0-9]"


def declared_type(code):
    if code.startswith("s") and code[1:].isdigit():
        return "VARCHAR(%s)" % code[1:]
    return {"si": "SMALLINT", "i": "INTEGER", "b": "BOOLEAN", "dt": "DATETIME"}[code]


def check_of(code, col):
    """(message, condition) of the CHECK for one column, NULL not considered."""
    if code.startswith("s") and code[1:].isdigit():
        n = code[1:]
        unit = "character" if n == "1" else "characters"
        return "at most %s %s" % (n, unit), "length(%s) <= %s" % (col, n)
    if code == "si":
        return ("whole number from -32768 to 32767",
                "typeof(%s) = 'integer' AND %s BETWEEN -32768 AND 32767" % (col, col))
    if code == "i":
        return ("whole number from -2147483648 to 2147483647",
                "typeof(%s) = 'integer' AND %s BETWEEN -2147483648 AND 2147483647" % (col, col))
    if code == "b":
        return "0 or 1", "%s IN (0, 1)" % col
    if code == "dt":
        return "date-time yyyy-MM-ddTHH:mm:ss.zzz", "%s GLOB '%s'" % (col, DATETIME_GLOB)
    raise ValueError("unknown type " + code)


COLUMN_RE = re.compile(r"^(\w+):(s\d+|si|i|b|dt)(!?)(?:=(.+))?$")


class Column:
    def __init__(self, text):
        m = COLUMN_RE.match(text)
        if not m:
            raise ValueError("bad column " + text)
        self.name, self.code, req, self.default = m.groups()
        self.required = req == "!"


# The key columns shared by many tables, with their types.
KEY_TYPES = {
    "SiglaCertificador": "s8",
    "NumCertif": "s30",
    "CodigoPais": "s4",
    "IdEmpresa": "s255",
    "MarcaProd": "s255",
    "ModeloProd": "s255",
    "Importado": "si",
    "NumLote": "s20",
    "NumSerieProd": "s20",
    "IdClasseCertif": "s10",
    "IdClasseProd": "si",
    "IdClasseServ": "si",
    "IdDocNorm": "i",
}

CERT = ["SiglaCertificador", "NumCertif"]
COMPANY = ["CodigoPais", "IdEmpresa"]
PRODUCT = ["MarcaProd", "ModeloProd", "Importado"]


class Table:
    """key: the primary key (documented key), or None for a rowid table.
    indexes: (suffix, columns) on the table and on its replica, named IX_<table>_<suffix>.
    live_indexes: the same, on the live table only."""

    def __init__(self, name, columns, key=None, indexes=(), live_indexes=(), autoincrement=None):
        self.name = name
        self.columns = [Column(c) for c in columns]
        self.key = list(key) if key else None
        self.indexes = list(indexes)
        self.live_indexes = list(live_indexes)
        self.autoincrement = autoincrement
        names = [c.name for c in self.columns]
        for k in (self.key or []):
            if k not in names:
                raise ValueError("%s: key column %s missing" % (name, k))
        for _, cols in self.indexes + self.live_indexes:
            for c in cols:
                if c.split()[0] not in names:
                    raise ValueError("%s: index column %s missing" % (name, c))
        if len(set(names)) != len(names):
            raise ValueError("%s: repeated column" % name)


def keycols(names, required=True):
    return ["%s:%s%s" % (n, KEY_TYPES[n], "!" if required else "") for n in names]


def by_certificate(table):
    """The index by certificate, where the key does not already start with it: per-certificate
    deletes and lookups (status propagation, batch preparation, replica sync) stay indexed."""
    if table.key and table.key[:2] == CERT:
        return []
    return [("Certificado", CERT)]


# --- registry tables ----------------------------------------------------------------------------

CERTIFIC = Table("CERTIFIC", [
    "SiglaCertificador:s8", "NumCertif:s30", "StatusCertificado:s1", "IdClasseProd:si",
    "IdClasseCertif:s10", "DataEmissao:dt", "DataValid:dt", "LabEnsaio:s255", "NumRelEnsaio:s255",
    "Signatarios:s255", "Observacoes:s255",
    # A writer that does not supply them stores false.
    "Completo:b!=0", "Aprovado:b!=0",
    "DthUltAtualiz:dt", "UsuResp:s10", "DthStatusCertificado:dt",
], key=CERT)

EMPRESA = Table("EMPRESA", [
    "CodigoPais:s4!", "IdEmpresa:s255!", "CGC:s30", "RazSocialEmp:s255", "NomFantasia:s40",
    "EndLogr:s50", "EndNum:s10", "EndCompl:s10", "EndCEP:s10", "EndBairro:s20", "EndCidade:s20",
    "SiglaUF:s2", "Telefone:s20", "Fax:s20", "Email:s50", "TipoPessoa:s1", "CPF:s11",
    "NomPessoaFisica:s60", "DthUltAtualiz:dt!", "UsuResp:s10!",
], key=COMPANY)

EMP_CERT = Table("EMP_CERT", [
    "SiglaCertificador:s8", "NumCertif:s30", "CodigoPais:s4", "IdEmpresa:s255", "StatusEmpresa:s1",
    "IdPapelEmp:si", "DthUltAtualiz:dt", "UsuResp:s10", "DthEntEmpresa:dt", "DthStatusEmpresa:dt",
], key=CERT + COMPANY, indexes=[("Empresa", COMPANY + CERT)])

PRODUTO = Table("PRODUTO", [
    "MarcaProd:s255!", "ModeloProd:s255!", "Importado:si!", "CodEANUPC:s128", "DescrProd:s255",
    "DthUltAtualiz:dt!", "UsuResp:s10!",
], key=PRODUCT)

TIPO = Table("TIPO", [
    "NumCertif:s30!", "SiglaCertificador:s8!", "MarcaProd:s255!", "ModeloProd:s255!",
    "Importado:si!", "StatusProduto:s1!", "DthUltAtualiz:dt!", "UsuResp:s10!",
    "DthStatusProduto:dt", "DthEntCertif:dt", "CodigoPais:s4", "IdEmpresa:s255",
], key=CERT + PRODUCT, indexes=[("Produto", PRODUCT + CERT)])

LOTE = Table("LOTE", [
    "NumLote:s20!", "NumCertif:s30!", "SiglaCertificador:s8!", "MarcaProd:s255!",
    "ModeloProd:s255!", "Importado:si!", "StatusLote:s1!", "QuantLote:s30", "DataFabrLote:dt",
    "DataValLote:dt", "NumProfInvoice:s30", "DthUltAtualiz:dt", "UsuResp:s10", "DthStatusLote:dt",
    "DthEntCertif:dt", "CodigoPais:s4", "IdEmpresa:s255",
], key=["NumLote"] + CERT + PRODUCT, indexes=[("Produto", PRODUCT + CERT)])

UNIDADE = Table("UNIDADE", [
    "NumSerieProd:s20!", "NumCertif:s30!", "SiglaCertificador:s8!", "MarcaProd:s255!",
    "ModeloProd:s255!", "Importado:si!", "StatusUnidade:s1!", "DthUltAtualiz:dt!", "UsuResp:s10!",
    "CodigoPais:s4", "IdEmpresa:s255", "DthEntCertif:dt", "DthStatusUnidade:dt",
    "LocalInstalacao:s255", "EndBairro:s20", "EndCidade:s20", "EndCEP:s10", "SiglaUF:s2",
    "Observacoes:s255",
], key=["NumSerieProd"] + CERT + PRODUCT, indexes=[("Produto", PRODUCT + CERT)])

SERVICO = Table("SERVICO", [
    "IdClasseServ:si!", "NumCertif:s30!", "SiglaCertificador:s8!", "CodigoPais:s4!",
    "IdEmpresa:s255!", "StatusServico:s1", "Observacoes:s255", "DthUltAtualiz:dt!", "UsuResp:s10!",
    "DthEntCertif:dt", "DthStatusServico:dt",
], key=["IdClasseServ"] + CERT + COMPANY, indexes=[("Empresa", COMPANY + CERT)])

# The documented key is (ID_Signatario, SiglaCertificador) with the number given by the database.
# SQLite numbers rows only through a single INTEGER PRIMARY KEY, so the live table takes that
# (AUTOINCREMENT: numbers of deleted signatories are never reused) and keeps the documented key as
# a UNIQUE constraint. The replica receives the numbers from the batches: there the documented
# key is the primary key. See replica_of().
SIGNATARIOS = Table("SIGNATARIOS", [
    "ID_Signatario:i", "Signatario:s255", "Default_s:s1", "SiglaCertificador:s8",
], key=["ID_Signatario", "SiglaCertificador"], autoincrement="ID_Signatario")

# --- status-event tables ------------------------------------------------------------------------
# Item key, SeqEvento, Evento, Justificativa, HistoricoSis, status, status date, last write.
# SeqEvento is numbered over the whole table (EventSequence::next takes its max), hence the
# SeqEvento index on the live tables.

EVENT_TABLES = [
    # name, item key in column order, status column, status date column
    ("STATUS_C", CERT, "StatusCertificado", "DthStatusCertificado"),
    ("EVENTO_EMP", CERT + COMPANY, "StatusEmpresa", "DthStatusEmpresa"),
    ("STATUS_T", CERT + PRODUCT, "StatusProduto", "DthStatusProduto"),
    ("STATUS_L", ["NumLote"] + CERT + PRODUCT, "Status_L", "DthStatus_L"),
    ("STATUS_U", ["NumSerieProd"] + CERT + PRODUCT, "StatusUnidade", "DthStatusUnidade"),
    ("STATUS_S", ["IdClasseServ"] + CERT + COMPANY, "Status_S", "DthStatusServico"),
    ("STATUS_DNCP", CERT + ["IdClasseCertif", "IdClasseProd", "IdDocNorm"], "Status_DNCP",
     "DthStatusDNCP"),
    ("STATUS_DNCS", CERT + ["IdClasseCertif", "IdClasseServ", "IdDocNorm"], "Status_DNCS",
     "DthStatusDNCS"),
    ("STATUS_DNT", CERT + PRODUCT + ["IdClasseCertif", "IdClasseProd", "IdDocNorm"], "Status_DNT",
     "DthStatusDNT"),
    ("STATUS_DNL", ["NumLote"] + CERT + PRODUCT + ["IdClasseCertif", "IdClasseProd", "IdDocNorm"],
     "Status_DNL", "DthStatusDNL"),
    ("STATUS_DNU",
     ["NumSerieProd"] + CERT + PRODUCT + ["IdClasseCertif", "IdClasseProd", "IdDocNorm"],
     "Status_DNU", "DthStatusDNU"),
    ("STATUS_DNS", ["IdDocNorm", "IdClasseCertif", "IdClasseServ"] + CERT + COMPANY, "Status_DNS",
     "DthStatusDNS"),
]


def event_table(name, item_key, status, status_date):
    cols = keycols(item_key) + [
        "SeqEvento:si!", "Evento:s3", "Justificativa:s255", "HistoricoSis:s1",
        status + ":s1", status_date + ":dt", "DthUltAtualiz:dt", "UsuResp:s10",
    ]
    t = Table(name, cols, key=item_key + ["SeqEvento"], live_indexes=[("SeqEvento", ["SeqEvento"])])
    t.indexes += by_certificate(t)
    return t


# --- normative-document links -------------------------------------------------------------------

DNT_KEY = CERT + ["IdClasseCertif", "IdClasseProd", "IdDocNorm"] + PRODUCT
LINK_TABLES = [
    # name, key in column order, entry date, status, status date
    ("DOC_NORM_CERT_PRODUTO", CERT + ["IdClasseCertif", "IdClasseProd", "IdDocNorm"], "DthEntDNCP",
     "Status_DNCP", "DthStatusDNCP"),
    ("DOC_NORM_CERT_SERVICO", CERT + ["IdClasseCertif", "IdClasseServ", "IdDocNorm"], "DthEntDNCS",
     "Status_DNCS", "DthStatusDNCS"),
    ("DOC_NORM_TIPO", DNT_KEY, "DthEntDNT", "Status_DNT", "DthStatusDNT"),
    ("DOC_NORM_LOTE", DNT_KEY + ["NumLote"], "DthEntDNL", "Status_DNL", "DthStatusDNL"),
    ("DOC_NORM_UNIDADE", DNT_KEY + ["NumSerieProd"], "DthEntDNU", "Status_DNU", "DthStatusDNU"),
    ("DOC_NORM_SERV", CERT + ["IdClasseCertif", "IdClasseServ", "IdDocNorm", "IdEmpresa", "CodigoPais"],
     "DthEntDNS", "Status_DNS", "DthStatusDNS"),
]


def link_table(name, key, entry, status, status_date):
    cols = keycols(key) + [entry + ":dt", status + ":s1", status_date + ":dt", "DthUltAtualiz:dt",
                           "UsuResp:s10"]
    t = Table(name, cols, key=key)
    t.indexes += by_certificate(t)
    return t


# Work table of the text import; emptied when an import ends, so no key.
CTR_NOTE = CERT + ["NomeTabela", "TabelaHistorico"]

CTR_HISTORICO = Table("CTR_HISTORICO", [
    "NomeTabela:s30", "TabelaHistorico:s30", "SiglaCertificador:s8", "NumCertif:s30",
    "CodigoPais:s4", "IdEmpresa:s255", "IdClasseCertif:s10", "IdClasseProd:si", "IdClasseServ:si",
    "MarcaProd:s255", "ModeloProd:s255", "Importado:si", "NumLote:s20", "NumSerieProd:s20",
    "IdDocNorm:i", "historico:s1", "DthUltAtualiz:dt", "UsuResp:s10",
], indexes=[
    # The import finds a note (and updates it) by every identification column it has a value for,
    # which depends on the record type: the certificate and the two table names, then the columns of
    # the item. An index serves the shapes whose columns form its prefix, and no one order serves
    # them all (units, lots, company links and the two kinds of certificate document share no
    # prefix), so each family has its own; every note then costs a lookup, not a scan of every
    # note of its certificate.
    ("Certificado", CTR_NOTE + COMPANY + ["IdClasseServ", "IdClasseCertif", "IdDocNorm"]),
    ("Documento", CTR_NOTE + ["IdClasseCertif", "IdClasseProd", "IdDocNorm"] + PRODUCT),
    ("DocServico", CTR_NOTE + ["IdClasseCertif", "IdClasseServ", "IdDocNorm"]),
    ("Unidade", CTR_NOTE + PRODUCT + ["NumSerieProd", "IdClasseCertif", "IdClasseProd", "IdDocNorm"]),
    ("Lote", CTR_NOTE + PRODUCT + ["NumLote", "IdClasseCertif", "IdClasseProd", "IdDocNorm"]),
])

# --- settings and users -------------------------------------------------------------------------

CONFIG_LOCAL = Table("CONFIG_LOCAL", [
    "SiglaCertificador:s8", "NomeOCC:s255", "DirLocalSincr:s100", "DirLocalTransf:s100",
    "DirLocalRecepAux:s100", "EndKavorelEnvio:s100", "EndKavorelResult:s100",
    "EndKavorelOrigAux:s100", "LoginFTP:s40", "SenhaFTP:s40", "EndSMTPHost:s150",
    "EndSMTPPort:s10", "EndSMTPUsuario:s150", "EndSMTPEMailReply:s150", "EndSMTPUsuReply:s150",
], key=["SiglaCertificador"])

PERMISSIONS = ["AcConfigOCC", "AcConfigDir", "AcCadastraUsu", "AcManBase", "AcContRemessas",
               "AcAtualTabAux", "AcAprovCertific"]

USU_LOCAL = Table("USU_LOCAL", [
    "SiglaUsu:s10", "SiglaCertificador:s8", "NomeUsu:s30", "SenhaUsu:s15",
] + [p + ":b" for p in PERMISSIONS], key=["SiglaUsu", "SiglaCertificador"])

# --- control tables -----------------------------------------------------------------------------
# Registers and work tables, never looked up by key: no primary key (SQLite's rowid keeps the
# order of insertion). A key would even be wrong for some: the same reference-table version may
# be installed twice, the same text file delivered twice, two batch events may share a moment.

CONTROLE = Table("CONTROLE", [
    "DataHoraEvento:dt", "NumeroRemessa:s10", "TipoRemessa:s1", "Evento:s2", "Usuario:s30",
    "Obs:s100",
], indexes=[("Remessa", ["NumeroRemessa", "DataHoraEvento"])])

CONTROLE_TEMP = Table("CONTROLE_TEMP", [
    "NumeroRemessa:s10", "Status:s24", "Evento:s2", "Ultima:s1", "TipoRemessa:s1",
])

# The highest batch number ever issued on the installation (one row at most). Clearing the history
# empties CONTROLE, and the next number must still follow the last one issued: a number must never
# be issued twice, or the authority's old verdict file would match a new batch.
CONTROLE_NUMERACAO = Table("CONTROLE_NUMERACAO", [
    "UltimaRemessa:s10!",
])

CONTROLE_AUX = Table("CONTROLE_AUX", [
    "DataHoraVersao:dt", "NumeroVersao:s10", "NomeArquivo:s21",
])

CONTROLE_TXT = Table("CONTROLE_TXT", [
    "DataHoraEvento:dt", "NomeArquivo:s30", "Obs:s100", "UsuResp:s10", "EnviadoKAVOREL:s1",
])

# --- reference tables ---------------------------------------------------------------------------
# Keyed by the column they are looked up by; a package is merged into them by that key.

REFERENCE_TABLES = [
    Table("PAIS", ["CodigoPais:s4", "NomePais:s40", "DthUltAtualiz:dt", "UsuResp:s10"],
          key=["CodigoPais"]),
    Table("PAPEL_EMP", ["IdPapelEmp:si", "PapelEmp:s40", "DthUltAtualiz:dt", "UsuResp:s10!"],
          key=["IdPapelEmp"]),
    Table("CLASSE_P", ["IdClasseProd:si", "ClasseSup:si", "NomClasseProd:s150", "UnMedida:s5",
                       "DthUltAtualiz:dt", "UsuResp:s10"],
          key=["IdClasseProd"]),
    Table("CLASSE_S", ["IdClasseServ:si", "IdClasseProd:si", "ClasseSuperiorServ:si",
                       "NomClasseServ:s150", "DthUltAtualiz:dt", "UsuResp:s10"],
          key=["IdClasseServ"]),
    Table("CLASSE_C", ["IdClasseCertif:s10", "NomClasseCertif:s50", "AspectoProduto:s30",
                       "DthUltAtualiz:dt", "UsuResp:s10"],
          key=["IdClasseCertif"]),
    Table("UF", ["SiglaUF:s2", "NomeUF:s30"], key=["SiglaUF"]),
    Table("TIPO_DOC", ["IdTipoDoc:si", "TipoDoc:s50"], key=["IdTipoDoc"]),
    Table("DOC_NORMATIVOS_SERV", ["IdDocNorm:i", "IdClasseCertif:s10", "IdClasseServ:si",
                                  "NomeTitulo:s50", "IdTipoDoc:si", "StatusDoc:s1"],
          key=["IdDocNorm"]),
    Table("CREDENCIAMENTO_SERV", ["SiglaCertificador:s8", "IdClasseCertif:s10", "IdClasseServ:si"],
          key=["SiglaCertificador", "IdClasseCertif", "IdClasseServ"]),
    # Nothing reads OBRIG_SERVICO; it only has to take the rows of a package. Its columns are
    # chosen after its name and its neighbours (which normative documents a class of service
    # must meet), every one optional so that a package with fewer columns still loads. The key
    # (IdClasseServ, IdClasseCertif, IdDocNorm) lets a reinstalled package replace its rows; it
    # is declared without NOT NULL, and SQLite then lets rows with a NULL in it through.
    Table("OBRIG_SERVICO", ["IdClasseServ:si", "IdClasseCertif:s10", "IdDocNorm:i",
                            "DthUltAtualiz:dt", "UsuResp:s10"],
          key=["IdClasseServ", "IdClasseCertif", "IdDocNorm"]),
    Table("CREDENCIAMENTO", ["SiglaCertificador:s8", "IdClasseCertif:s10", "IdClasseProd:si"],
          key=["SiglaCertificador", "IdClasseCertif", "IdClasseProd"]),
    Table("DOC_NORMATIVOS", ["IdDocNorm:i", "IdClasseCertif:s10", "IdClasseProd:si",
                             "NomeTitulo:s50", "IdTipoDoc:si", "StatusDoc:s1"],
          key=["IdDocNorm"]),
]
NULLABLE_KEY_TABLES = {"OBRIG_SERVICO"}

# --- the whole database -------------------------------------------------------------------------

EVENTS = {e[0]: event_table(*e) for e in EVENT_TABLES}
LINKS = {l[0]: link_table(*l) for l in LINK_TABLES}
for t in (LOTE, UNIDADE, SERVICO):
    t.indexes += by_certificate(t)

LIVE = ([CERTIFIC, EMPRESA, EMP_CERT, PRODUTO, TIPO, LOTE, UNIDADE, SERVICO, SIGNATARIOS]
        + list(EVENTS.values()) + list(LINKS.values())
        + [CTR_HISTORICO, CONFIG_LOCAL, USU_LOCAL, CONTROLE, CONTROLE_TEMP, CONTROLE_NUMERACAO,
           CONTROLE_AUX,
           CONTROLE_TXT] + REFERENCE_TABLES)
BY_NAME = {t.name: t for t in LIVE}

# The exchanged tables, in the order of the batch.
REPLICATED = [
    "CERTIFIC", "EMPRESA", "EMP_CERT", "EVENTO_EMP", "STATUS_C", "PRODUTO", "TIPO", "STATUS_T",
    "LOTE", "STATUS_L", "UNIDADE", "STATUS_U", "SERVICO", "STATUS_S", "DOC_NORM_CERT_PRODUTO",
    "DOC_NORM_CERT_SERVICO", "DOC_NORM_TIPO", "DOC_NORM_LOTE", "DOC_NORM_UNIDADE", "DOC_NORM_SERV",
    "STATUS_DNCP", "STATUS_DNCS", "STATUS_DNT", "STATUS_DNL", "STATUS_DNU", "STATUS_DNS",
    "SIGNATARIOS", "USU_LOCAL", "CONFIG_LOCAL",
]
assert len(REPLICATED) == 29

# Extra indexes named explicitly (index name, table, columns).
NAMED_INDEXES = [
    ("CGC_Empresa", "EMPRESA", ["CGC COLLATE NOCASE"]),
    ("IndNomeClasseProd", "CLASSE_P", ["NomClasseProd"]),
]

# The login looks users up by name alone, so a name may exist once whatever its case.
UNIQUE_INDEXES = [
    ("UQ_USU_LOCAL_SiglaUsu", "USU_LOCAL", ["SiglaUsu COLLATE NOCASE"]),
]

# The administrator of a new database; its password is asked for at the first start.
ADMIN_ROW = ("INSERT INTO USU_LOCAL (SiglaUsu, SiglaCertificador, NomeUsu, SenhaUsu, %s)\n"
             "VALUES ('admin', '', 'Administrador', NULL, %s);"
             % (", ".join(PERMISSIONS), ", ".join("1" for _ in PERMISSIONS)))

# --- SQL ----------------------------------------------------------------------------------------


def column_sql(table_name, col, key, autoincrement):
    parts = [col.name, declared_type(col.code)]
    if col.required or (col.name in key and table_name not in NULLABLE_KEY_TABLES):
        parts.append("NOT NULL")
    if col.name == autoincrement:
        parts.append("PRIMARY KEY AUTOINCREMENT")
    if col.default is not None:
        parts.append("DEFAULT " + col.default)
    message, condition = check_of(col.code, col.name)
    # typeof() is not NULL-tolerant like the other checks, so a NULL needs letting through.
    if "NOT NULL" not in parts and col.code in ("si", "i"):
        condition = "%s IS NULL OR (%s)" % (col.name, condition)
    parts.append('CONSTRAINT "%s.%s: %s" CHECK (%s)' % (table_name, col.name, message, condition))
    return " ".join(parts)


def create_table_sql(name, table, replica):
    key = table.key or []
    autoincrement = None if replica else table.autoincrement
    lines = [column_sql(name, c, key, autoincrement) for c in table.columns]
    if key:
        if autoincrement:
            lines.append("UNIQUE (%s)" % ", ".join(key))
        else:
            lines.append("PRIMARY KEY (%s)" % ", ".join(key))
    out = ["CREATE TABLE %s (" % name, ",\n".join("  " + l for l in lines), ");"]
    indexes = table.indexes + ([] if replica else table.live_indexes)
    for suffix, cols in indexes:
        out.append("CREATE INDEX IX_%s_%s ON %s (%s);" % (name, suffix, name, ", ".join(cols)))
    return "\n".join(out)


def schema_sql():
    out = [
        "-- Schema of the database CapaCertific.",
        "-- Generated by scripts/gen-schema.py: change the descriptions there and run it again;",
        "-- do not edit this file by hand.",
        "",
    ]
    for t in LIVE:
        out += [create_table_sql(t.name, t, replica=False), ""]
    out.append("-- Replicas: what the authority last accepted, same columns, checks and keys.")
    out.append("")
    for name in REPLICATED:
        out += [create_table_sql("REP_" + name, BY_NAME[name], replica=True), ""]
    for index, table, cols in NAMED_INDEXES:
        out.append("CREATE INDEX %s ON %s (%s);" % (index, table, ", ".join(cols)))
    for index, table, cols in UNIQUE_INDEXES:
        out.append("CREATE UNIQUE INDEX %s ON %s (%s);" % (index, table, ", ".join(cols)))
    out += ["", ADMIN_ROW, ""]
    return "\n".join(out)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    target = os.path.join(here, "..", "src", "db", "schema.sql")
    with open(target, "w", encoding="utf-8", newline="\n") as f:
        f.write(schema_sql())
    print("wrote " + os.path.normpath(target))


if __name__ == "__main__":
    main()
