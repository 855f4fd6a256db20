// host_schema.h: the tables of a host database that the import creates, as the demo
// generator creates them: assay, peak, mixture and mixturecomp, mixture names compared
// with NOCASE, peaks indexed by their analysis.
#pragma once

inline constexpr char kHostSchemaSql[] = R"(
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
