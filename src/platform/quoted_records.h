#pragma once
// Quoted-record files: lines of comma-separated fields with strings in double quotes,
// such as  "caption","/path/to/folder/"  (tab lists, search results, scene files), or one
// value per line (resume and key files).
//
// Reading follows the rules of the files' original sequential format:
//  - blanks (spaces and tabs) before a field are dropped;
//  - a field that begins with a double quote ends at its closing quote; anything after
//    the closing quote up to the next comma is dropped;
//  - an unquoted field ends at a comma or at the line end, trailing blanks dropped;
//  - a field missing at the end of the line reads as empty.
//
// A double quote inside a field: the writer doubles it ("" in the file) and the reader
// turns a doubled quote back into one, so such a field survives a save and a load
// unchanged. A single quote inside a quoted field (a file written by hand or by another
// program) is the closing quote only when blanks and then a comma or the line end follow
// it; otherwise it is kept as part of the field. Files the program wrote before quotes
// were doubled never hold a quote inside a field, so they read exactly as before, and a
// stray quote never swallows the fields after it.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace platform {

// Exactly `count` fields of one line (missing ones empty, surplus ones ignored).
QStringList parseQuotedFields(const QString &line, int count);

// "text" with inner double quotes doubled.
QString quoteField(const QString &text);

// Fields quoted and joined by commas.
QString formatQuotedRecord(const QStringList &fields);

// Every non-blank line of a file's bytes as `count` fields (one value per line with a
// count of 1).
QList<QStringList> parseQuotedRecords(const QByteArray &bytes, int count);

// A file's bytes: one quoted record per line, UTF-8 with CR LF.
QByteArray formatQuotedRecords(const QList<QStringList> &records);

// Every non-blank line of the file as `count` fields. nullopt when the file cannot be read.
std::optional<QList<QStringList>> readQuotedRecords(const QString &path, int count);

// Replaces the file with one quoted record per line (atomic save).
bool writeQuotedRecords(const QString &path, const QList<QStringList> &records);

} // namespace platform
