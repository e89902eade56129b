#pragma once
// Records a movie of a run from a view of its own: for each frame of the
// plan the view state's clock is set, the turning or walking timer's ticks
// applied, the scene drawn off screen with the time burnt in at the bottom,
// and the picture handed to the encoder, which works on a thread of its own
// while the next frame is drawn.

#include <QImage>
#include <QString>
#include <cstdint>
#include <functional>

#include "MoviePlan.h"

class COpenGLView;
class IMovieSink;

enum class MovieResult { Done, Cancelled, Failed };

// Told after each frame (done of total); returning false cancels.
using MovieProgress = std::function<bool(std::int64_t done, std::int64_t total)>;

// Draws every frame of `plan` with `view` (its models installed, its size
// the movie's, its store's view state showing what the movie shows) into
// `encoder` (opened), and finishes or abandons the movie. The clock is left
// where the movie ended. On Failed, `error` says why.
MovieResult RecordMovie(COpenGLView& view, const MoviePlan& plan, IMovieSink& encoder, const MovieProgress& progress,
                        QString* error);

// The time line burnt into a frame: "MM:SS / MM:SS" (the run's length, then
// the frame's time) in white on a dark band at the bottom's middle, as wide
// as the text (a section legend's caption at the bottom left stays seen).
void BurnInTime(QImage& frame, const QString& text);
