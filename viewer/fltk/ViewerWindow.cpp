#include "viewer/fltk/ViewerWindow.h"

#include <FL/Fl.H>
#include <FL/Fl_Group.H>
#include <FL/fl_draw.H>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <exception>
#include <thread>
#include <utility>

#include "base/numbertext/Layout.h"

namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 720;
constexpr int kBar = 32;      // the height of the bar of views above the canvas
constexpr int kBottom = 104;  // the controls, the marker's line and the picked segment's two
constexpr int kLine = 22;
constexpr double kFrameInterval = 1.0 / 60.0;
constexpr double kWatchInterval = 0.5;
constexpr double kPickTolerance = 8.0;  // pixels
constexpr double kWheelStep = 1.25;
constexpr int kDragThreshold = 3;            // pixels a press moves before it is a drag
constexpr double kSegmentsPerSecond = 20.0;  // the play rate without timing, at 1x
constexpr std::array<double, 4> kRates{1.0, 10.0, 100.0, 1000.0};
constexpr std::array<ViewKind, 4> kViews{ViewKind::XY, ViewKind::XZ, ViewKind::YZ, ViewKind::Free};
constexpr std::uint32_t kMarkerFill = Rgb(0, 0, 0);
constexpr std::uint32_t kMarkerRing = Rgb(255, 255, 255);
constexpr std::uint32_t kPickInk = Rgb(200, 0, 160);
constexpr std::uint32_t kStartInk = Rgb(26, 158, 46);

std::string Number(double value, int digits = 6) {
    return numbertext::Significant(value == 0.0 ? 0.0 : value, digits).Str();
}

double Milliseconds(std::chrono::steady_clock::duration span) {
    return std::chrono::duration<double, std::milli>(span).count();
}

}  // namespace

// The canvas: the picture of the path and the marks over it, and the pointer's gestures.
class PathCanvas : public Fl_Widget {
  public:
    PathCanvas(int x, int y, int width, int height, ViewerWindow& window)
        : Fl_Widget(x, y, width, height), m_window(window) {}

    void draw() override { m_window.DrawCanvas(x(), y(), w(), h()); }

    int handle(int event) override {
        switch (event) {
            case FL_ENTER:
            case FL_LEAVE:
                return 1;
            case FL_PUSH:
                m_pressX = m_lastX = Fl::event_x();
                m_pressY = m_lastY = Fl::event_y();
                m_button = Fl::event_button();
                m_rotate = m_button == FL_RIGHT_MOUSE || Fl::event_state(FL_CTRL | FL_SHIFT);
                m_dragged = false;
                return 1;
            case FL_DRAG:
                return Dragged();
            case FL_RELEASE:
                if (m_dragged) m_window.DragEnded();
                if (!m_dragged && m_button == FL_LEFT_MOUSE)
                    m_window.Pick(Fl::event_x() - x(), Fl::event_y() - y());
                return 1;
            case FL_MOUSEWHEEL:
                if (Fl::event_dy() == 0) return 0;
                m_window.Zoom(Fl::event_x() - x(), Fl::event_y() - y(),
                              std::pow(kWheelStep, -Fl::event_dy()));
                return 1;
            default:
                return Fl_Widget::handle(event);
        }
    }

  private:
    int Dragged() {
        const int ex = Fl::event_x();
        const int ey = Fl::event_y();
        if (std::abs(ex - m_pressX) + std::abs(ey - m_pressY) > kDragThreshold) m_dragged = true;
        if (!m_dragged) return 1;
        m_window.Drag(ex - m_lastX, ey - m_lastY, m_rotate);
        m_lastX = ex;
        m_lastY = ey;
        return 1;
    }

    ViewerWindow& m_window;
    int m_pressX = 0;
    int m_pressY = 0;
    int m_lastX = 0;
    int m_lastY = 0;
    int m_button = 0;
    bool m_rotate = false;
    bool m_dragged = false;
};

ViewerWindow::ViewerWindow(ViewPath path, ViewerSource source)
    : Fl_Double_Window(kWidth, kHeight), m_path(std::move(path)), m_source(std::move(source)) {
    if (const char* trace = std::getenv("VANTREL_VIEW_TRACE"); trace != nullptr && *trace)
        m_trace = std::fopen(trace, "a");
    // Keys go to the window, not to whichever button was clicked last.
    Fl::visible_focus(0);
    Build();
    if (m_path.axisCount == 3) SetView(ViewKind::Free);
    ShowPath();
    if (!m_source.watchedFile.empty()) {
        m_stamp = StampOf(m_source.watchedFile);
        Fl::add_timeout(kWatchInterval, WatchThunk, this);
    }
}

ViewerWindow::~ViewerWindow() {
    Fl::remove_timeout(TickThunk, this);
    Fl::remove_timeout(WatchThunk, this);
    if (m_trace != nullptr) std::fclose(m_trace);
}

void ViewerWindow::Build() {
    begin();
    auto* bar = new Fl_Group(0, 0, kWidth, kBar);
    for (std::size_t v = 0; v < kViews.size(); ++v) {
        auto* button =
            new Fl_Button(6 + static_cast<int>(v) * 48, 4, 44, 24, ViewKindName(kViews[v]));
        button->type(FL_RADIO_BUTTON);
        button->callback(
            [](Fl_Widget* widget, void* self) {
                auto* window = static_cast<ViewerWindow*>(self);
                for (std::size_t k = 0; k < kViews.size(); ++k)
                    if (window->m_viewButtons[k] == widget) window->SetView(kViews[k]);
            },
            this);
        m_viewButtons[v] = button;
    }
    auto* fit = new Fl_Button(6 + 4 * 48 + 8, 4, 44, 24, "Fit");
    fit->callback([](Fl_Widget*, void* self) { static_cast<ViewerWindow*>(self)->Fit(); }, this);
    m_legend = new SpeedLegend(6 + 5 * 48 + 16, 4, kWidth - (6 + 5 * 48 + 22), 24);
    bar->resizable(m_legend);
    bar->end();

    m_canvas = new PathCanvas(0, kBar, kWidth, kHeight - kBar - kBottom, *this);

    const int top = kHeight - kBottom;
    auto* controls = new Fl_Group(0, top, kWidth, kBottom);
    m_play = new Fl_Button(6, top + 6, 60, 24, "Play");
    m_play->callback([](Fl_Widget*, void* self) { static_cast<ViewerWindow*>(self)->TogglePlay(); },
                     this);
    m_slider = new Fl_Slider(72, top + 6, kWidth - 72 - 90, 24);
    m_slider->type(FL_HOR_NICE_SLIDER);
    m_slider->callback(
        [](Fl_Widget* widget, void* self) {
            static_cast<ViewerWindow*>(self)->SetCursor(static_cast<Fl_Slider*>(widget)->value());
        },
        this);
    m_rate = new Fl_Choice(kWidth - 84, top + 6, 78, 24);
    m_rate->add("1x|10x|100x|1000x");
    m_rate->value(0);
    m_cursorBox = new Fl_Box(6, top + 34, kWidth - 12, kLine);
    m_pickBox = new Fl_Box(6, top + 34 + kLine, kWidth - 12, kBottom - 34 - kLine - 4);
    for (Fl_Box* box : {m_cursorBox, m_pickBox}) {
        box->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE | FL_ALIGN_CLIP);
        box->labelsize(13);
    }
    // A timed segment's values run past a line of the window's width.
    m_pickBox->align(m_pickBox->align() | FL_ALIGN_TOP | FL_ALIGN_WRAP);
    controls->resizable(m_slider);
    controls->end();
    end();
    resizable(m_canvas);
    size_range(480, 360);
}

void ViewerWindow::ShowPath() {
    m_title = m_source.name + " - " + std::to_string(m_path.SegmentCount()) + " segments" +
              " - vantrel view";
    label(m_title.c_str());
    if (m_path.timed) {
        m_legend->Show(m_path.peakSpeed, m_path.speedUnit, "");
    } else {
        m_legend->Show(0.0, "", "no timing (" + m_path.untimedReason + "): drawn in one colour");
    }
    m_slider->bounds(0.0, CursorEnd());
    m_cursor = std::clamp(m_cursor, 0.0, CursorEnd());
    m_slider->value(m_cursor);
    if (m_picked && *m_picked >= m_path.SegmentCount()) m_picked.reset();
    if (!m_picked) m_pickText = "Click on the path to name a segment.";
    m_pickBox->label(m_pickText.c_str());
    ShowCursorState();
    m_turned.Forget();
    m_pathStale = true;
    m_panned.reset();
    Trace("path " + std::to_string(m_path.SegmentCount()) + " " +
          std::to_string(m_path.vertices.size()));
}

double ViewerWindow::CursorEnd() const {
    return m_path.timed ? m_path.duration : static_cast<double>(m_path.SegmentCount());
}

void ViewerWindow::SetView(ViewKind kind) {
    for (std::size_t k = 0; k < kViews.size(); ++k) m_viewButtons[k]->value(kViews[k] == kind);
    m_camera.SetKind(kind);
    m_fitPending = true;
    Trace(std::string("view ") + ViewKindName(kind));
    ChangeView();
}

void ViewerWindow::Fit() {
    m_fitPending = true;
    ChangeView();
}

void ViewerWindow::ChangeView() {
    m_panned.reset();
    RedrawPath();
}

void ViewerWindow::RedrawPath() {
    m_pathStale = true;
    m_canvas->redraw();
}

void ViewerWindow::Drag(int dx, int dy, bool rotate) {
    if (rotate) {
        m_camera.Rotate(dx, dy);
        ChangeView();
        return;
    }
    m_camera.Pan(dx, dy);
    // The picture drawn, or the one still to move, moves along.
    if (m_panned)
        m_panned = std::array<int, 2>{(*m_panned)[0] + dx, (*m_panned)[1] + dy};
    else if (!m_pathStale)
        m_panned = std::array<int, 2>{dx, dy};
    RedrawPath();
}

void ViewerWindow::DragEnded() {
    // A shift still to be drawn (the drag ended before the next frame) counts too.
    if (m_moved || m_panned) ChangeView();
}

void ViewerWindow::Zoom(int x, int y, double factor) {
    m_camera.ZoomAt(x, y, factor);
    ChangeView();
}

void ViewerWindow::DrawCanvas(int left, int top, int width, int height) {
    if (width != m_camera.Width() || height != m_camera.Height() || width != m_pathFrame.Width() ||
        height != m_pathFrame.Height()) {
        m_camera.SetCanvas(width, height);
        m_pathFrame = Frame(width, height);
        // A part of a long path for each core, up to eight: their pictures are merged one
        // after another.
        const unsigned cores = std::clamp(std::thread::hardware_concurrency(), 1U, 8U);
        m_spareFrames.assign(cores - 1, Frame(width, height));
        m_pathStale = true;
        m_panned.reset();
    }
    if (m_fitPending) {
        m_camera.Fit(m_path);
        m_fitPending = false;
        m_panned.reset();
    }
    const auto started = std::chrono::steady_clock::now();
    std::optional<RasterCount> redrawn;
    if (m_pathStale) {
        // A pan of less than half the canvas moves the picture and draws what comes in; more
        // would cost about as much as drawing it whole.
        if (m_panned && std::abs((*m_panned)[0]) * 2 < width &&
            std::abs((*m_panned)[1]) * 2 < height) {
            m_pathFrame.Shift((*m_panned)[0], (*m_panned)[1]);
            redrawn = DrawPathShifted(m_path, m_camera, m_pathFrame, (*m_panned)[0], (*m_panned)[1],
                                      m_spareFrames, &m_turned);
            m_moved = true;
        } else {
            m_pathFrame.Clear();
            redrawn = DrawPath(m_path, m_camera, m_pathFrame, m_spareFrames, &m_turned);
            m_moved = false;
        }
        m_pathStale = false;
        m_panned.reset();
    }
    m_shown = m_pathFrame;
    if (m_picked) {
        const Pixel a = m_camera.ToPixel(m_path.points[*m_picked]);
        const Pixel b = m_camera.ToPixel(m_path.points[*m_picked + 1]);
        for (int d = -1; d <= 1; ++d) {
            DrawLine(m_shown, {a.x + d, a.y}, {b.x + d, b.y}, kPickInk);
            DrawLine(m_shown, {a.x, a.y + d}, {b.x, b.y + d}, kPickInk);
        }
    }
    if (!m_path.points.empty()) {
        DrawMarker(m_shown, m_camera.ToPixel(m_path.points.front()), 3, kStartInk, kStartInk);
        const PathState state =
            m_path.timed ? StateAtTime(m_path, m_cursor) : StateAtSegment(m_path, m_cursor);
        DrawMarker(m_shown, m_camera.ToPixel(state.position), 5, kMarkerFill, kMarkerRing);
    }
    fl_draw_image(m_shown.Bytes(), left, top, width, height, 4);
    // A frame's time: the path drawn (when the view changed), the marks, and the picture sent.
    if (redrawn) {
        Trace("frame " + Number(Milliseconds(std::chrono::steady_clock::now() - started), 3) +
              " ms " + std::to_string(redrawn->drawn) + " drawn " +
              std::to_string(redrawn->skipped) + " skipped" + (m_moved ? " moved" : ""));
    }
    // The axes of the view, at the lower left corner.
    const int ox = left + 40;
    const int oy = top + height - 40;
    fl_font(FL_HELVETICA_BOLD, 12);
    for (int axis = 0; axis < m_path.axisCount; ++axis) {
        const auto a = static_cast<std::size_t>(axis);
        const double ax = m_camera.Right()[a] * 25.0;
        const double ay = -m_camera.Up()[a] * 25.0;
        if (std::fabs(ax) + std::fabs(ay) < 1.0) continue;
        fl_color(FL_DARK3);
        fl_line(ox, oy, ox + static_cast<int>(ax), oy + static_cast<int>(ay));
        const char letter[2] = {static_cast<char>('X' + axis), '\0'};
        fl_color(FL_BLACK);
        fl_draw(letter, ox + static_cast<int>(ax * 1.3) - 4, oy + static_cast<int>(ay * 1.3) + 5);
    }
    fl_font(FL_HELVETICA, 12);
    fl_color(FL_DARK3);
    fl_draw("drag: pan   right drag: turn (3D)   wheel: zoom   f: fit   1-4: views   space: play",
            left + 80, top + height - 8);
}

void ViewerWindow::Pick(int x, int y) {
    m_picked = NearestSegment(m_path, m_camera, {static_cast<double>(x), static_cast<double>(y)},
                              kPickTolerance);
    if (!m_picked) {
        m_pickText = "No segment within " + Number(kPickTolerance) + " pixels of the click.";
        Trace("pick none");
    } else {
        const std::size_t s = *m_picked;
        const double length =
            (m_path.distances[s + 1] - m_path.distances[s]) * m_path.unitsPerCount[0];
        m_pickText = "Segment " + std::to_string(s) + ": " + PositionText(m_path.points[s]) +
                     " to " + PositionText(m_path.points[s + 1]) + ", length " + Number(length) +
                     " " + m_path.axisUnits[0];
        if (m_path.timed) {
            const SegmentTiming& t = m_path.segments[s];
            m_pickText += ", entry " + SpeedText(t.entrySpeed) + ", exit " +
                          SpeedText(t.exitSpeed) + ", peak " + SpeedText(t.peakSpeed) + ", from " +
                          Number(t.startTime) + " s for " + Number(t.time) + " s";
        }
        Trace("pick " + std::to_string(s));
    }
    m_pickBox->label(m_pickText.c_str());
    m_canvas->redraw();
}

std::string ViewerWindow::PositionText(const ViewPoint& counts) const {
    std::string text;
    for (int axis = 0; axis < m_path.axisCount; ++axis) {
        const auto a = static_cast<std::size_t>(axis);
        if (axis > 0) text += " ";
        text += std::string(1, static_cast<char>('X' + axis)) + " " +
                Number(counts[a] * m_path.unitsPerCount[a]);
        const bool sameUnit =
            axis + 1 < m_path.axisCount && m_path.axisUnits[a + 1] == m_path.axisUnits[a];
        if (!sameUnit) text += " " + m_path.axisUnits[a];
    }
    return text;
}

std::string ViewerWindow::SpeedText(double speed) const {
    return Number(speed) + (m_path.speedUnit.empty() ? "" : " " + m_path.speedUnit);
}

void ViewerWindow::SetCursor(double value) {
    m_cursor = std::clamp(value, 0.0, CursorEnd());
    m_slider->value(m_cursor);
    ShowCursorState();
    m_canvas->redraw();
}

void ViewerWindow::ShowCursorState() {
    const std::size_t count = m_path.SegmentCount();
    if (m_path.timed) {
        const PathState state = StateAtTime(m_path, m_cursor);
        Trace("cursor " + Number(state.time) + " segment " + std::to_string(state.segment));
        m_cursorText = "t " + Number(state.time) + " s of " + Number(m_path.duration) +
                       " s   segment " + std::to_string(state.segment) + " of " +
                       std::to_string(count) + "   " + PositionText(state.position) + "   speed " +
                       SpeedText(state.speed);
    } else {
        const PathState state = StateAtSegment(m_path, m_cursor);
        Trace("cursor " + Number(m_cursor) + " segment " + std::to_string(state.segment));
        m_cursorText = "segment " + std::to_string(state.segment) + " of " + std::to_string(count) +
                       "   " + PositionText(state.position) +
                       "   (no timing: " + m_path.untimedReason + ")";
    }
    m_cursorBox->label(m_cursorText.c_str());
}

void ViewerWindow::TickThunk(void* self) { static_cast<ViewerWindow*>(self)->Tick(); }
void ViewerWindow::WatchThunk(void* self) { static_cast<ViewerWindow*>(self)->Watch(); }

void ViewerWindow::TogglePlay() {
    if (m_playing) {
        StopPlay();
        return;
    }
    m_playing = true;
    m_play->label("Pause");
    if (m_cursor >= CursorEnd()) SetCursor(0.0);
    m_lastTick = std::chrono::steady_clock::now();
    Fl::add_timeout(kFrameInterval, TickThunk, this);
}

void ViewerWindow::StopPlay() {
    m_playing = false;
    m_play->label("Play");
    Fl::remove_timeout(TickThunk, this);
}

void ViewerWindow::Tick() {
    const auto now = std::chrono::steady_clock::now();
    const double seconds = std::chrono::duration<double>(now - m_lastTick).count();
    m_lastTick = now;
    const double rate = kRates[static_cast<std::size_t>(std::max(m_rate->value(), 0))];
    SetCursor(m_cursor + seconds * rate * (m_path.timed ? 1.0 : kSegmentsPerSecond));
    if (m_cursor >= CursorEnd()) {
        StopPlay();
        return;
    }
    Fl::repeat_timeout(kFrameInterval, TickThunk, this);
}

ViewerWindow::FileStamp ViewerWindow::StampOf(const std::string& file) {
    struct stat status {};
    if (stat(file.c_str(), &status) != 0) return {};
    return {static_cast<long long>(status.st_mtim.tv_sec) * 1000000000LL + status.st_mtim.tv_nsec,
            static_cast<long long>(status.st_size), static_cast<unsigned long long>(status.st_ino)};
}

void ViewerWindow::Watch() {
    const FileStamp stamp = StampOf(m_source.watchedFile);
    if (!(stamp == m_stamp) && stamp.size >= 0) {
        m_stamp = stamp;
        try {
            m_path = m_source.read();
            ShowPath();
            m_canvas->redraw();
            Trace("reread ok");
        } catch (const std::exception& failure) {
            // The path shown stays; the next change is read again.
            m_pickText = std::string("Not re-read: ") + failure.what();
            m_pickBox->label(m_pickText.c_str());
            Trace(std::string("reread failed ") + failure.what());
        }
    }
    Fl::repeat_timeout(kWatchInterval, WatchThunk, this);
}

int ViewerWindow::handle(int event) {
    if (event != FL_KEYBOARD && event != FL_SHORTCUT) return Fl_Double_Window::handle(event);
    const int key = Fl::event_key();
    const double step = m_path.timed ? CursorEnd() / 100.0 : 1.0;
    switch (key) {
        case 'f':
            Fit();
            return 1;
        case '1':
        case '2':
        case '3':
        case '4':
            SetView(kViews[static_cast<std::size_t>(key - '1')]);
            return 1;
        case ' ':
            TogglePlay();
            return 1;
        case FL_Right:
            SetCursor(m_cursor + step);
            return 1;
        case FL_Left:
            SetCursor(m_cursor - step);
            return 1;
        case FL_Home:
            SetCursor(0.0);
            return 1;
        case FL_End:
            SetCursor(CursorEnd());
            return 1;
        case '+':
        case '=':
            Zoom(m_camera.Width() / 2, m_camera.Height() / 2, kWheelStep);
            return 1;
        case '-':
            Zoom(m_camera.Width() / 2, m_camera.Height() / 2, 1.0 / kWheelStep);
            return 1;
        default:
            return Fl_Double_Window::handle(event);
    }
}

void ViewerWindow::Trace(const std::string& line) {
    if (m_trace == nullptr) return;
    std::fprintf(m_trace, "%s\n", line.c_str());
    std::fflush(m_trace);
}
