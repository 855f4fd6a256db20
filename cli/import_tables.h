// import_tables.h: the two tables a laboratory imports — peak areas (AREAS) and mixture
// certificates (CERTIFICATES) — checked and turned into the records of a host database.
//
// AREAS has one row per peak; the fields of an analysis repeat on each of its rows and
// must agree; a row without component, channel, area and time declares an analysis
// without peaks. CERTIFICATES has one row per mixture component; a row without
// component, concentration and deviation declares a mixture without components; one
// with concentration and deviation but no component name is a component with an empty
// name, as the host's database may hold it. Header names are English or Russian
// (kAreasColumns, kCertificateColumns), in any order and any letter case; a column of
// another name is an error unless all its fields are empty.
// Every problem found is collected (file line, column, text found); records are
// complete only when no problem was found.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/csv_reader.h"

// One column of an input table: its English and Russian header names.
struct ImportColumn {
  const char16_t* english;
  const char16_t* russian;
  bool required;  // the header must name it
};

// component_id is the host's identifier of the component name (its `nameid`), kept as
// text exactly as given; other data systems leave it out or empty.
enum AreasColumn { kAnalysis, kSample, kDate, kMixture, kPressure, kTemperature, kChannel, kComponent,
                   kComponentId, kArea, kTime };
inline constexpr ImportColumn kAreasColumns[] = {
    {u"analysis", u"анализ", true},        {u"sample", u"проба", false},
    {u"date", u"дата", false},             {u"mixture", u"смесь", false},
    {u"pressure", u"давление", false},     {u"temperature", u"температура", false},
    {u"channel", u"канал", true},          {u"component", u"компонент", true},
    {u"component_id", u"код компонента", false},
    {u"area", u"площадь", true},           {u"time", u"время", true}};

enum CertificateColumn { kCertMixture, kCertMixtureId, kCylinder, kRelease, kExpiry, kCertComponent,
                         kCertComponentId, kConcentration, kDeviation };
inline constexpr ImportColumn kCertificateColumns[] = {
    {u"mixture", u"смесь", true},          {u"mixture_id", u"код смеси", false},
    {u"cylinder", u"баллон", false},       {u"release", u"выпуск", false},
    {u"expiry", u"годен до", false},       {u"component", u"компонент", true},
    {u"component_id", u"код компонента", false},
    {u"concentration", u"концентрация", true}, {u"deviation", u"погрешность", true}};

struct ImportPeak {
  sys::Text nameId;  // the host's name identifier as text; empty: none (NULL)
  sys::Text name;
  std::int32_t channel = 0;  // as the host stores it: the number shown minus 1
  double area = 0;
  double time = 0;  // min
};

struct ImportAnalysis {
  std::int32_t id = 0;
  std::int32_t line = 0;  // its first row in AREAS
  sys::Text sample;
  std::optional<std::int64_t> date;  // seconds since 1970-01-01 00:00 UTC
  sys::Text mixture;                 // empty: none
  std::optional<double> pressure;    // kPa
  std::optional<double> temperature; // °C
  std::vector<ImportPeak> peaks;     // in file order
};

struct ImportComponent {
  sys::Text nameId;  // as ImportPeak::nameId
  sys::Text name;
  double concentration = 0;  // mol%
  double deviation = 0;      // % rel.
};

struct ImportMixture {
  std::int32_t id = 0;
  bool idGiven = false;   // from mixture_id; otherwise assigned
  std::int32_t line = 0;  // its first row in CERTIFICATES
  sys::Text name;
  sys::Text cylinder;
  std::optional<std::int64_t> release;
  std::optional<std::int64_t> expiry;
  std::vector<ImportComponent> components;  // in file order
};

struct ImportData {
  std::vector<ImportAnalysis> analyses;  // in order of first appearance
  std::vector<ImportMixture> mixtures;   // in order of first appearance
  sys::Text mixtureTitle = u"mixture";   // the header text of AREAS' mixture column, for messages
};

// Reads the AREAS table into data.analyses; problems are appended.
void ReadAreas(const CsvTable& table, ImportData& data, std::vector<CsvProblem>& problems);

// Reads the CERTIFICATES table into data.mixtures, assigning identifiers to the
// certificates without mixture_id (the lowest ones not given); problems are appended.
void ReadCertificates(const CsvTable& table, ImportData& data, std::vector<CsvProblem>& problems);

// The mixtures that AREAS names and CERTIFICATES lacks (compared as the host compares
// names), one problem of AREAS per name at its first analysis.
void CheckMixturesNamed(const ImportData& data, std::vector<CsvProblem>& problems);

// Host-style comparison of names: equal without regard to letter case and accents, as
// the database's NOCASE collation compares them.
bool SameNameNoCase(sys::TextView a, sys::TextView b);
