// Filling and refreshing the rows of the song lists from the song store: the whole database in
// `GroupSongList`, and the title change or removal of one song in every list.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

class QString;

namespace psalmora {

class SongListWidget;
class SongStore;

// Ids of every song that belongs to a group with a data-pool id greater than 0, taken from the group
// file's records in one pass (the same answer as asking IsGroupedSong for each id).
std::unordered_set<std::string> SharedGroupSongIds(const std::vector<std::string>& groupRecords);

// `ShowWholeDatabase`: replaces the rows of list with one row per song of songList in list order (songs
// in the trash skipped), each with the shared-group icon when its id is in a pool group. Returns the row
// count. The caller sorts.
int ShowWholeDatabase(SongListWidget& list, const std::vector<std::string>& songList,
                      const std::vector<std::string>& groupRecords);

// Replaces the rows of list with the songs of a collection record in its order (ids up to the first
// empty one), each row from the song store's line for that id; songs in the trash are not shown.
int ShowCollectionSongs(SongListWidget& list, std::string_view collectionRecord, const SongStore& store,
                        const std::unordered_set<std::string>& sharedIds);

// A chooser entry of a collection: its name, " (", the number of "|" in the record, ")".
QString CollectionChooserEntry(std::string_view collectionRecord);

// `RefreshSongRows`: in each list, every row whose id column equals id is removed when record is "kill",
// and otherwise shows field 3 of record as its title.
void RefreshSongRows(std::initializer_list<SongListWidget*> lists, std::string_view id, std::string_view record);

}  // namespace psalmora
