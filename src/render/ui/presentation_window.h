// `Präsentationsfenster`: the borderless beamer window covering one monitor (or, with no projector, a
// framed window to rehearse with). A song layer holds the header frame, the main frame and the footer
// frame stacked from top to bottom; the media layer lies over all of them, hidden until a picture, slide
// or video is shown.
#pragma once

#include <QWidget>

namespace psalmora {

class PageView;

// Visibility of the header and footer bands and the heights they take when shown.
struct BandLayout {
  bool headerVisible = false;
  bool footerVisible = false;
  int headerHeight = 30;  // "akkordzeilehoehe"
  int footerHeight = 30;  // "fußzeilenhoehe"
};

// The three frames' rectangles inside a song layer of the given size: header (0, 0, W, Hh), main
// (0, Hh, W, H - Hh - Hf), footer (0, H - Hf, W, Hf), with Hh and Hf 0 for a hidden band. A main frame
// that the bands would leave negative is 0 high.
struct FrameRects {
  QRect header;
  QRect main;
  QRect footer;
};
FrameRects LayOutFrames(const QSize& layer, const BandLayout& bands);

class PresentationWindow : public QWidget {
  Q_OBJECT

 public:
  // The start screen names the program and its maker's address.
  PresentationWindow(const QString& windowTitle, const QString& programTitle, const QString& makerAddress,
                     const BandLayout& bands, QWidget* parent = nullptr);

  PageView* HeaderFrame() const { return header_; }
  PageView* MainFrame() const { return main_; }
  PageView* FooterFrame() const { return footer_; }
  PageView* MediaLayer() const { return media_; }

  // Covers the monitor rect, borderless (screen given when known); an empty rect hides the window.
  void Place(const QRect& monitor, QScreen* screen);
  // A normal framed window in the middle of the area, two thirds of its size, to rehearse without a
  // projector; while it stays framed it is left where the user moved it.
  void ShowFramed(const QRect& area, QScreen* screen);
  bool IsFramed() const { return framed_; }
  // The monitor rectangle of the last Place.
  QRect Placement() const { return placement_; }

  // `ToggleHeader` / `ToggleFooter` with the band height h: a hidden band appears h high and the main
  // frame gives up that room; a shown band disappears and the main frame takes its room back.
  void ToggleHeader(int h);
  void ToggleFooter(int h);
  const BandLayout& Bands() const { return bands_; }

  // The song layer in front; the media layer hidden.
  void ShowSongLayer();
  // Black over the whole window, bands and media included, until lifted; the pages underneath go on
  // changing.
  void SetBlack(bool black);
  bool IsBlack() const;
  // "Liedtext an Beamer anpassen": every page of the main frame scales its text down (never up) until it
  // fits the frame, again whenever the frame changes its size. The page file stays as written.
  void SetFitText(bool fit);
  bool FitsText() const { return fitText_; }
  // The page script that does it.
  static QString FitTextScript();
  // The footer band back to its empty start page.
  void ClearFooter();

  // "about:" start pages of the frames.
  static QString BandStartHtml();
  static QString MainStartHtml(const QString& programTitle, const QString& makerAddress);
  static QString MediaStartHtml();

 signals:
  // The song layer came to the front (a song or free text was sent): a movie on the media layer stops.
  void songLayerShown();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void ApplyBands();
  void SetFramed(bool framed);

  QWidget* songLayer_ = nullptr;
  PageView* header_ = nullptr;
  PageView* main_ = nullptr;
  PageView* footer_ = nullptr;
  PageView* media_ = nullptr;
  QWidget* black_ = nullptr;
  BandLayout bands_;
  QRect placement_;
  bool framed_ = false;
  bool fitText_ = false;
};

}  // namespace psalmora
