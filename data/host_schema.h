// host_schema.h: the tables of the host database that the module reads, as one SQL text.
//
// The one copy of the schema: the demo-data generator and vetrix-import write it, and
// tests and benchmarks that make a host database of their own execute it (sqlite3_exec or
// DataBase::Connection) before inserting their rows. Foreign keys are declared but SQLite
// enforces them only with PRAGMA foreign_keys = ON, which no reader of ours sets.
#pragma once

inline constexpr char kHostDatabaseSchema[] = R"(
CREATE TABLE mixture (id INTEGER PRIMARY KEY, name TEXT COLLATE NOCASE NOT NULL, ballon TEXT,
                      release INTEGER, expiry INTEGER);
CREATE TABLE mixturecomp (id INTEGER PRIMARY KEY, mixtureid INTEGER NOT NULL REFERENCES mixture(id),
                          nameid INTEGER, name TEXT, concentration REAL, deviation REAL);
CREATE TABLE assay (id INTEGER PRIMARY KEY, date INTEGER, filename TEXT, sample TEXT, mixture TEXT,
                    atmpressure REAL, airtemp REAL, ishidden INTEGER NOT NULL DEFAULT 0,
                    isdeleted INTEGER NOT NULL DEFAULT 0);
CREATE TABLE peak (id INTEGER PRIMARY KEY, assayid INTEGER NOT NULL REFERENCES assay(id), nameid INTEGER,
                   name TEXT, area REAL, time REAL, channel INTEGER);
CREATE INDEX peak_assay ON peak(assayid);
)";
