#include "songdb/search_index.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#ifdef __SSE2__
#include <emmintrin.h>
#endif
#ifdef __x86_64__
#include <immintrin.h>
#endif

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "core/atomic_file.h"

namespace psalmora {
namespace {

constexpr std::string_view kMagic = "PSLMIDX\n";
// Raised whenever the layout or the searchable form of the texts changes: an old file is then rebuilt.
constexpr std::uint32_t kFormatVersion = 1;
constexpr std::size_t kHeaderSize = 64;

std::uint64_t Fnv1a(std::string_view bytes) {
  std::uint64_t hash = 0xcbf29ce484222325ull;
  for (const char c : bytes) hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3ull;
  return hash;
}

// A checksum that keeps up with reading the file: four independent lanes of eight bytes, so the start
// of a search does not wait for a byte-wise hash over megabytes of text.
std::uint64_t Checksum(std::string_view bytes) {
  constexpr std::uint64_t kPrime = 0x9E3779B97F4A7C15ull;
  std::uint64_t lane[4] = {1, 2, 3, 4};
  std::size_t at = 0;
  for (; at + 32 <= bytes.size(); at += 32) {
    for (int i = 0; i < 4; ++i) {
      std::uint64_t word;
      std::memcpy(&word, bytes.data() + at + 8 * i, 8);
      lane[i] = (lane[i] ^ word) * kPrime;
      lane[i] ^= lane[i] >> 29;
    }
  }
  std::uint64_t hash = bytes.size();
  for (const std::uint64_t value : lane) hash = (hash ^ value) * kPrime;
  return (hash ^ Fnv1a(bytes.substr(at))) * kPrime;
}

// The first place of needle (two bytes or more) in text, or null. Sixteen places are tried at once by
// their first and last byte, and only those where both fit are compared in full: on song texts that
// runs several times faster than memmem, and the warm search is mostly this loop.
const char* Find(const char* text, std::size_t size, std::string_view needle) {
  const std::size_t length = needle.size();
#ifdef __SSE2__
  const __m128i first = _mm_set1_epi8(needle.front());
  const __m128i last = _mm_set1_epi8(needle.back());
  std::size_t at = 0;
  for (; at + length - 1 + 16 <= size; at += 16) {
    const __m128i starts = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + at));
    const __m128i ends = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + at + length - 1));
    auto mask = static_cast<unsigned>(
        _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(starts, first), _mm_cmpeq_epi8(ends, last))));
    while (mask != 0) {
      const auto bit = static_cast<std::size_t>(__builtin_ctz(mask));
      if (std::memcmp(text + at + bit + 1, needle.data() + 1, length - 2) == 0) return text + at + bit;
      mask &= mask - 1;
    }
  }
  text += at;
  size -= at;
#endif
  const void* found = ::memmem(text, size, needle.data(), length);
  return static_cast<const char*>(found);
}

#ifdef __x86_64__
// Find with thirty-two places at once, for processors with AVX2; the rest of the text goes to Find.
__attribute__((target("avx2"))) const char* FindAvx2(const char* text, std::size_t size, std::string_view needle) {
  const std::size_t length = needle.size();
  const __m256i first = _mm256_set1_epi8(needle.front());
  const __m256i last = _mm256_set1_epi8(needle.back());
  std::size_t at = 0;
  for (; at + length - 1 + 32 <= size; at += 32) {
    const __m256i starts = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(text + at));
    const __m256i ends = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(text + at + length - 1));
    auto mask = static_cast<unsigned>(
        _mm256_movemask_epi8(_mm256_and_si256(_mm256_cmpeq_epi8(starts, first), _mm256_cmpeq_epi8(ends, last))));
    while (mask != 0) {
      const auto bit = static_cast<std::size_t>(__builtin_ctz(mask));
      if (std::memcmp(text + at + bit + 1, needle.data() + 1, length - 2) == 0) return text + at + bit;
      mask &= mask - 1;
    }
  }
  return Find(text + at, size - at, needle);
}
#endif

// The fastest Find this processor runs.
const char* FindFastest(const char* text, std::size_t size, std::string_view needle) {
#ifdef __x86_64__
  static const bool avx2 = __builtin_cpu_supports("avx2");
  if (avx2) return FindAvx2(text, size, needle);
#endif
  return Find(text, size, needle);
}

void Put(std::string& out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// Reads little-endian numbers and byte runs, refusing any read past the end.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}
  bool Number(int bytes, std::uint64_t& value) {
    if (bytes_.size() - at_ < static_cast<std::size_t>(bytes)) return false;
    value = 0;
    for (int i = 0; i < bytes; ++i)
      value |= static_cast<std::uint64_t>(static_cast<unsigned char>(bytes_[at_ + i])) << (8 * i);
    at_ += static_cast<std::size_t>(bytes);
    return true;
  }
  bool Bytes(std::size_t count, std::string& value) {
    if (bytes_.size() - at_ < count) return false;
    value.assign(bytes_.substr(at_, count));
    at_ += count;
    return true;
  }
  std::size_t at() const { return at_; }

 private:
  std::string_view bytes_;
  std::size_t at_ = 0;
};

std::int64_t Signed(std::uint64_t value) {
  return static_cast<std::int64_t>(value);
}

}  // namespace

struct SearchIndex::Mapping {
  void* data = nullptr;
  std::size_t size = 0;
  ~Mapping() {
    if (data != nullptr) ::munmap(data, size);
  }
};

bool SongFileStamp::SameFileAs(const SongFileStamp& other) const {
  return exists == other.exists && device == other.device && inode == other.inode && size == other.size &&
         modified == other.modified && changed == other.changed;
}

FolderIdentity IdentityOfFolder(const std::filesystem::path& folder) {
  FolderIdentity identity;
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::weakly_canonical(folder, error);
  identity.path = (error ? folder : absolute).string();
  struct stat info {};
  if (::stat(folder.c_str(), &info) == 0) {
    identity.device = static_cast<std::uint64_t>(info.st_dev);
    identity.inode = static_cast<std::uint64_t>(info.st_ino);
  }
  return identity;
}

std::filesystem::path SearchIndexPath(const std::filesystem::path& dataFolder) {
  std::filesystem::path cache;
  if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg != nullptr && xdg[0] == '/') {
    cache = xdg;
  } else if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0') {
    cache = std::filesystem::path(home) / ".cache";
  } else {
    cache = std::filesystem::temp_directory_path();
  }
  static constexpr char kHex[] = "0123456789abcdef";
  std::string name = "liedtexte-";
  const std::uint64_t hash = Fnv1a(IdentityOfFolder(dataFolder).path);
  for (int shift = 60; shift >= 0; shift -= 4) name.push_back(kHex[(hash >> shift) & 0xF]);
  return cache / "psalmora" / (name + ".idx");
}

SearchIndex::SearchIndex() = default;
SearchIndex::~SearchIndex() = default;

SearchIndex::SearchIndex(SearchIndex&& other) noexcept {
  *this = std::move(other);
}

SearchIndex& SearchIndex::operator=(SearchIndex&& other) noexcept {
  songs_ = std::move(other.songs_);
  offsets_ = std::move(other.offsets_);
  owned_ = std::move(other.owned_);
  mapping_ = std::move(other.mapping_);
  // A short owned buffer lives inside the string object, so the view is taken again after the move.
  texts_ = mapping_ != nullptr ? other.texts_ : std::string_view(owned_);
  other.texts_ = {};
  other.owned_.clear();
  return *this;
}

void SearchIndex::Add(std::string id, std::string fileName, const SongFileStamp& stamp, std::string_view text) {
  Song song{std::move(id), std::move(fileName), stamp, owned_.size(), text.size()};
  offsets_.push_back(song.offset);
  songs_.push_back(std::move(song));
  owned_.append(text);
  owned_.push_back('\n');
  texts_ = owned_;
}

std::string_view SearchIndex::Text(std::size_t song) const {
  return texts_.substr(songs_[song].offset, songs_[song].length);
}

std::string_view SearchIndex::Texts() const {
  return texts_;
}

void SearchIndex::MarkMatches(std::string_view needle, std::vector<char>& marks) const {
  marks.assign(songs_.size(), 0);
  if (needle.empty() || needle.find_first_of("\r\n") != std::string_view::npos) return;
  const char* const begin = texts_.data();
  std::size_t at = 0;
  while (at + needle.size() <= texts_.size()) {
    const char* found = needle.size() == 1
                            ? static_cast<const char*>(std::memchr(begin + at, needle[0], texts_.size() - at))
                            : FindFastest(begin + at, texts_.size() - at, needle);
    if (found == nullptr) break;
    const auto position = static_cast<std::size_t>(found - begin);
    const auto song =
        static_cast<std::size_t>(std::upper_bound(offsets_.begin(), offsets_.end(), position) - offsets_.begin()) - 1;
    marks[song] = 1;
    // One hit is enough for a song: go on after its text.
    at = songs_[song].offset + songs_[song].length + 1;
  }
}

std::string SearchIndex::Serialize(const FolderIdentity& folder) const {
  std::string body;
  Put(body, folder.path.size(), 4);
  body.append(folder.path);
  for (const Song& song : songs_) {
    Put(body, song.offset, 8);
    Put(body, song.length, 8);
    Put(body, song.id.size(), 2);
    body.append(song.id);
    Put(body, song.fileName.size(), 2);
    body.append(song.fileName);
    Put(body, song.stamp.device, 8);
    Put(body, song.stamp.inode, 8);
    Put(body, song.stamp.size, 8);
    Put(body, static_cast<std::uint64_t>(song.stamp.modified), 8);
    Put(body, static_cast<std::uint64_t>(song.stamp.changed), 8);
    Put(body, (song.stamp.exists ? 1u : 0u) | (song.stamp.recent ? 2u : 0u), 1);
  }
  const std::size_t tableSize = body.size();
  body.append(texts_);

  std::string file(kMagic);
  Put(file, kFormatVersion, 4);
  Put(file, songs_.size(), 4);
  Put(file, folder.device, 8);
  Put(file, folder.inode, 8);
  Put(file, tableSize, 8);
  Put(file, texts_.size(), 8);
  Put(file, Checksum(body), 8);
  file.resize(kHeaderSize, '\0');
  file.append(body);
  return file;
}

std::string SearchIndex::Save(const std::filesystem::path& file, const FolderIdentity& folder) const {
  std::error_code error;
  std::filesystem::create_directories(file.parent_path(), error);
  // The index can always be built again, so it is not worth a sync of the disk.
  const WriteResult written = WriteFileAtomically(file, Serialize(folder), FileSync::kNone);
  return written ? std::string() : written.error;
}

bool SearchIndex::ParseInto(std::string_view bytes, const FolderIdentity& folder) {
  if (bytes.size() < kHeaderSize || bytes.substr(0, kMagic.size()) != kMagic) return false;
  Reader header(bytes.substr(kMagic.size(), kHeaderSize - kMagic.size()));
  std::uint64_t version = 0, count = 0, device = 0, inode = 0, tableSize = 0, textSize = 0, checksum = 0;
  if (!header.Number(4, version) || !header.Number(4, count) || !header.Number(8, device) || !header.Number(8, inode) ||
      !header.Number(8, tableSize) || !header.Number(8, textSize) || !header.Number(8, checksum))
    return false;
  const std::string_view body = bytes.substr(kHeaderSize);
  if (version != kFormatVersion || device != folder.device || inode != folder.inode) return false;
  if (tableSize > body.size() || textSize != body.size() - tableSize) return false;
  if (Checksum(body) != checksum) return false;

  Reader table(body.substr(0, tableSize));
  std::uint64_t length = 0;
  std::string path;
  if (!table.Number(4, length) || !table.Bytes(length, path) || path != folder.path) return false;
  const std::string_view texts = body.substr(tableSize);
  std::vector<Song> songs;
  songs.reserve(std::min<std::uint64_t>(count, tableSize / 60 + 1));
  for (std::uint64_t i = 0; i < count; ++i) {
    Song song;
    std::uint64_t offset = 0, size = 0, idLength = 0, nameLength = 0, flags = 0, modified = 0, changed = 0;
    if (!table.Number(8, offset) || !table.Number(8, size) || !table.Number(2, idLength) ||
        !table.Bytes(idLength, song.id) || !table.Number(2, nameLength) || !table.Bytes(nameLength, song.fileName) ||
        !table.Number(8, song.stamp.device) || !table.Number(8, song.stamp.inode) ||
        !table.Number(8, song.stamp.size) || !table.Number(8, modified) || !table.Number(8, changed) ||
        !table.Number(1, flags))
      return false;
    // Texts follow each other, each closed by a line feed.
    const std::uint64_t expected = songs.empty() ? 0 : songs.back().offset + songs.back().length + 1;
    if (offset != expected || offset > texts.size() || size >= texts.size() - offset || texts[offset + size] != '\n')
      return false;
    song.offset = offset;
    song.length = size;
    song.stamp.modified = Signed(modified);
    song.stamp.changed = Signed(changed);
    song.stamp.exists = (flags & 1u) != 0;
    song.stamp.recent = (flags & 2u) != 0;
    songs.push_back(std::move(song));
  }
  const std::size_t end = songs.empty() ? 0 : songs.back().offset + songs.back().length + 1;
  if (table.at() != tableSize || end != texts.size()) return false;
  songs_ = std::move(songs);
  offsets_.clear();
  offsets_.reserve(songs_.size());
  for (const Song& song : songs_) offsets_.push_back(song.offset);
  texts_ = texts;
  return true;
}

std::optional<SearchIndex> SearchIndex::Parse(std::string_view bytes, const FolderIdentity& folder) {
  SearchIndex index;
  index.owned_.assign(bytes);
  if (!index.ParseInto(index.owned_, folder)) return std::nullopt;
  // The buffer keeps only the texts, so it can be moved as an index built in memory.
  index.owned_ = std::string(index.texts_);
  index.texts_ = index.owned_;
  return index;
}

std::optional<SearchIndex> SearchIndex::Load(const std::filesystem::path& file, const FolderIdentity& folder) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < static_cast<off_t>(kHeaderSize)) {
    ::close(fd);
    return std::nullopt;
  }
  auto mapping = std::make_unique<Mapping>();
  mapping->size = static_cast<std::size_t>(info.st_size);
  void* data = ::mmap(nullptr, mapping->size, PROT_READ, MAP_PRIVATE, fd, 0);
  ::close(fd);
  if (data == MAP_FAILED) return std::nullopt;
  mapping->data = data;
  // The checksum reads it all at once, then every search does again.
  ::madvise(data, mapping->size, MADV_WILLNEED);
  SearchIndex index;
  if (!index.ParseInto(std::string_view(static_cast<const char*>(data), mapping->size), folder)) return std::nullopt;
  index.mapping_ = std::move(mapping);
  return index;
}

}  // namespace psalmora
