// The window of `vantrel view`: the path in one view at a time (XY, XZ, YZ or a free 3D view)
// coloured by the model's speed, a time slider and a play button moving a marker along the
// path, and a line naming the segment last clicked. It re-reads the element when its file
// changes.
#pragma once

#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Slider.H>

#include <array>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "viewer/PathProbe.h"
#include "viewer/PathRaster.h"
#include "viewer/TurnedVertices.h"
#include "viewer/ViewCamera.h"
#include "viewer/ViewPath.h"
#include "viewer/fltk/SpeedLegend.h"
#include "viewer/fltk/ViewerEntry.h"

class PathCanvas;

class ViewerWindow : public Fl_Double_Window {
  public:
    ViewerWindow(ViewPath path, ViewerSource source);
    ~ViewerWindow() override;
    int handle(int event) override;

    // What the canvas asks of the window.
    void DrawCanvas(int left, int top, int width, int height);
    void Drag(int dx, int dy, bool rotate);
    // A drag let go: a picture moved along with a pan is drawn whole again, to the pixel.
    void DragEnded();
    void Zoom(int x, int y, double factor);
    void Pick(int x, int y);

  private:
    struct FileStamp {
        long long modified = 0;  // ns
        long long size = -1;
        unsigned long long inode = 0;
        bool operator==(const FileStamp&) const = default;
    };

    void Build();
    void ShowPath();
    void SetView(ViewKind kind);
    void Fit();
    // A view changed other than by a pan: the path is drawn whole again.
    void ChangeView();
    // The path is drawn again, moved along when a pan is all that changed.
    void RedrawPath();
    void SetCursor(double value);
    void TogglePlay();
    void StopPlay();
    void Tick();
    void Watch();
    static void TickThunk(void* self);
    static void WatchThunk(void* self);
    void ShowCursorState();
    std::string PositionText(const ViewPoint& counts) const;
    std::string SpeedText(double speed) const;
    double CursorEnd() const;
    void Trace(const std::string& line);
    static FileStamp StampOf(const std::string& file);

    ViewPath m_path;
    TurnedVertices m_turned;  // of m_path, forgotten whenever it changes
    ViewerSource m_source;
    ViewCamera m_camera;
    Frame m_pathFrame{1, 1};           // the path as last drawn, without the marks over it
    std::vector<Frame> m_spareFrames;  // where the later parts of a long path are drawn at once
    Frame m_shown{1, 1};
    bool m_pathStale = true;
    // How far the picture drawn is to move to show the view, when a pan is all that changed
    // since it was drawn: what comes in at the edges is drawn, not the whole path.
    std::optional<std::array<int, 2>> m_panned;
    bool m_moved = false;  // the picture was moved along with a pan since it was drawn whole
    bool m_fitPending = true;
    double m_cursor = 0.0;  // s, or segments without timing
    bool m_playing = false;
    std::chrono::steady_clock::time_point m_lastTick;
    std::optional<std::size_t> m_picked;
    FileStamp m_stamp;
    std::FILE* m_trace = nullptr;
    std::string m_title;
    std::string m_cursorText;
    std::string m_pickText;

    PathCanvas* m_canvas = nullptr;
    std::array<Fl_Button*, 4> m_viewButtons{};
    SpeedLegend* m_legend = nullptr;
    Fl_Button* m_play = nullptr;
    Fl_Slider* m_slider = nullptr;
    Fl_Choice* m_rate = nullptr;
    Fl_Box* m_cursorBox = nullptr;
    Fl_Box* m_pickBox = nullptr;
};
