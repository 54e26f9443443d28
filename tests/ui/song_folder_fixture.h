// A program folder and a data folder for the tests of the song lists' commands: six active songs with
// text files (one shared with the song-management service), three songs in the trash, two groups and
// two selections; the German language table and the song text cache attached to the store.
#pragma once

#include <QItemSelectionModel>
#include <QTemporaryDir>
#include <filesystem>
#include <string>

#include "core/data_folder.h"
#include "core/language.h"
#include "core/ui/app_state.h"
#include "songdb/song_store.h"
#include "songdb/ui/song_list_widget.h"
#include "ui_test_support.h"

namespace psalmora::uitest {

// A song record: id, "Erstellt am", title, and the global id in field 19; 21 fields, each followed by
// a TAB.
inline QByteArray SongLine(const QByteArray& id, const QByteArray& title, const QByteArray& globalId = {}) {
  QByteArray line = id + "\t01.12.2017-09:05\t" + title + "\t";
  for (int field = 4; field <= 21; ++field) line += (field == 19 ? globalId : QByteArray()) + "\t";
  return line + "\r\n";
}

inline QByteArray DeletedLine(const QByteArray& id, const QByteArray& title, const QByteArray& globalId = {}) {
  return QByteArray("#gel\xF6scht#\t") + SongLine(id, title, globalId);
}

struct SongFolder {
  QTemporaryDir temp;
  AppState state;
  QString data;

  SongFolder() {
    data = temp.path() + "/daten";
    WriteBytes(data + "/lieder.dat", SongLine("6",
                                              "Stra\xDF"
                                              "e") +
                                         SongLine("1", "Zion") +
                                         SongLine("2",
                                                  "\xFC"
                                                  "ber den Wolken",
                                                  "G-22") +
                                         DeletedLine("5", "Gel\xF6scht") + SongLine("3", "\xC4rger") +
                                         DeletedLine("7", "Sieben", "G-7") + SongLine("4", "Abend") +
                                         DeletedLine("8", "Acht") + SongLine("9", "Neun"));
    WriteBytes(data + "/1.dat", "Halleluja!!\r\n#und Amen\r\n");
    WriteBytes(data + "/2.dat",
               "\xDC"
               "ber den Wolken\r\nmuss die Freiheit\r\n");
    WriteBytes(data + "/3.dat", "Kein Grund zum \xC4rger\r\n");
    WriteBytes(data + "/4.dat", "Der Abend kommt\r\n");
    WriteBytes(data + "/5.dat", "Halleluja!! gel\xF6scht\r\n");
    WriteBytes(data + "/6.dat",
               "Die Stra\xDF"
               "e\r\n");
    WriteBytes(data + "/7.dat", "sieben\r\n");
    WriteBytes(data + "/8.dat", "acht\r\n");
    WriteBytes(data + "/9.dat", "neun\r\n");
    WriteBytes(data + "/gruppierung.dat", "Lobpreis\t7|4|1\t\t\t\t\t\t\t\r\nAdvent\t|2\t\r\n");
    WriteBytes(data + "/auswahl.dat", "Sonntag\t|1|2|3\t\t\t\t\t\t\t\r\nLeer\t\t\r\n");
    QDir().mkpath(temp.path() + "/programm/config");
    // The search keeps its text index in the user's cache folder: here, one of the test's own.
    qputenv("XDG_CACHE_HOME", (temp.path() + "/cache").toUtf8());
    state.programFolder = (temp.path() + "/programm").toStdString();
    state.dataFiles = DataFiles::For(data.toStdString());
    state.settings.useridcb = "u17";
    state.windowTitle = "Psalmora 3.12";
    state.language.Load(LanguageFile(), kGerman);
    state.songs = SongStore(state.dataFiles);
    state.songs.LoadSongList();
    state.songTexts.Attach(state.songs);
  }

  QByteArray File(const QString& name) const { return ReadBytes(data + "/" + name); }
  QByteArray SettingsFile() const { return ReadBytes(temp.path() + "/programm/config/einstellungen.ini"); }
};

// The ids of a song list's rows, top to bottom.
inline QStringList RowIds(const SongListWidget* list) {
  QStringList ids;
  for (int row = 0; row < list->RowCount(); ++row) ids << list->Model().RowAt(row).id;
  return ids;
}

// Makes exactly the rows with these ids selected.
inline void SelectIds(SongListWidget* list, const QStringList& ids) {
  list->clearSelection();
  for (int row = 0; row < list->RowCount(); ++row) {
    if (!ids.contains(list->Model().RowAt(row).id)) continue;
    list->selectionModel()->select(list->Model().index(row, 0),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
  }
}

// The lines of a file without their CR LF.
inline QList<QByteArray> FileLines(const QByteArray& bytes) {
  QList<QByteArray> lines = bytes.split('\n');
  if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
  for (QByteArray& line : lines) {
    if (line.endsWith('\r')) line.chop(1);
  }
  return lines;
}

}  // namespace psalmora::uitest
