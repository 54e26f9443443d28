// The program's icons by role: a freedesktop theme icon where one with the same meaning exists, and the
// picture bundled in the resources (":/icons/") otherwise or when the desktop has no icon theme.
#pragma once

#include <QIcon>

class QString;
class QToolButton;
class QWidget;

namespace psalmora {

enum class IconId {
  Program,
  Song,
  SongShared,
  TabGroups,
  TabSearch,
  TabBible,
  TabVideos,
  TabFiles,
  SelectionAdd,
  SelectionRemove,
  MoveUp,
  MoveDown,
  EditList,
  SearchStart,
  Chords,
  Translation,
  Footer,
  Header,
  FontSmaller,
  FontLarger,
  ScrollUp,
  ScrollDown,
  SendToBeamer,
  News,
  WebSearch,
  SongSelect,
  TransposeDown,
  TransposeUp,
  SongCopy,
  TwoColumns,
  SongOrder,
  MirrorBeamer,
  VideoBackground,
  VideoBeamer,
  VideoStop,
  Activities,
  Tempo,
  Monitor1,
  Monitor2,
  Refresh,
  BibleLoad,
  VideoSite,
  Swap,
  ListSave,
  Download,
  MediaPause,
  MediaPlay,
  PlayLink,
  SlideShow,
};

QIcon AppIcon(IconId id);

// The bundled picture alone (for tests and for places that must look the same on every desktop).
QIcon BundledIcon(IconId id);

// The flat tool button with a 20-pixel icon that sits beside the choosers and fields of the columns and
// editor windows; one place so they all look alike.
QToolButton* IconButton(const QIcon& icon, const QString& tooltip, QWidget* parent);

}  // namespace psalmora
