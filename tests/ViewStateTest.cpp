// The view state: every change through a named method that keeps it within
// the run, told once by a signal; the clock's arithmetic in whole seconds.

#include <gtest/gtest.h>

#include "StoreEditor.h"

namespace {
// A run of `samples` samples `interval` minutes apart.
void Size(CSimulationData& d, int samples, float interval) {
  EditRun(d).m_nSamples = samples;
  EditRun(d).m_fSampleInterval = interval;
}

// How often each signal of the state was emitted.
struct Told {
  explicit Told(CViewState& s) {
    QObject::connect(&s, &CViewState::contentChanged, &context, [this] { ++content; });
    QObject::connect(&s, &CViewState::layerChanged, &context, [this] { ++layer; });
    QObject::connect(&s, &CViewState::sectionPartChanged, &context, [this] { ++section; });
    QObject::connect(&s, &CViewState::wireModeChanged, &context, [this] { ++wire; });
    QObject::connect(&s, &CViewState::clockChanged, &context, [this] { ++clock; });
    QObject::connect(&s, &CViewState::speedChanged, &context, [this] { ++speed; });
    QObject::connect(&s, &CViewState::playingChanged, &context, [this] { ++playing; });
    QObject::connect(&s, &CViewState::changed, &context, [this] { ++any; });
  }
  QObject context;  // the connections end with the counts
  int content = 0, layer = 0, section = 0, wire = 0, clock = 0, speed = 0, playing = 0, any = 0;
};
}  // namespace

TEST(ViewState, ChoicesOutsideTheirRangeAreRefusedAndTellNothing) {
  CSimulationData d;
  CViewState& s = d.State();
  Told told(s);
  // A number that names no kind (a radio's id, a choice read back) is none.
  EXPECT_EQ(ContentKindOf(3), std::nullopt);
  EXPECT_EQ(ContentKindOf(-1), std::nullopt);
  EXPECT_EQ(ContentKindOf(2), ContentSweatRate);
  EXPECT_FALSE(s.SelectLayer(-1));
  EXPECT_FALSE(s.SetSectionPart(7));
  EXPECT_FALSE(s.SetSectionPart(-1));
  EXPECT_EQ(told.any, 0);
  EXPECT_EQ(s.Content(), ContentTemperature);
  // A choice of what is already shown is no change either.
  s.SetContent(ContentTemperature);
  EXPECT_TRUE(s.SelectLayer(0));
  s.SetWireMode(false);
  s.SetSpeed(1);
  s.SetPlaying(false);
  EXPECT_EQ(told.any, 0);

  s.SetContent(ContentSweatRate);
  EXPECT_TRUE(s.SelectLayer(12));  // layers the run lacks are drawn as no data
  EXPECT_TRUE(s.SetSectionPart(6));
  s.SetWireMode(true);
  s.SetSpeed(0);  // at least one second a tick
  s.SetSpeed(600);
  s.SetPlaying(true);
  EXPECT_EQ(told.content + told.layer + told.section + told.wire + told.playing, 5);
  EXPECT_EQ(told.speed, 1);
  EXPECT_EQ(told.any, 6);
  EXPECT_EQ(s.Speed(), 600);
  EXPECT_EQ(s.SectionPart(), 6);

  s.Restart();
  EXPECT_EQ(s.Content(), ContentTemperature);
  EXPECT_EQ(s.SelectedLayer(), 0);
  EXPECT_EQ(s.SectionPart(), 0);
  EXPECT_FALSE(s.WireMode());
  EXPECT_EQ(s.Speed(), 1);
  EXPECT_FALSE(s.Playing());
}

TEST(ViewState, SeekingStaysWithinTheRun) {
  CSimulationData d;
  Size(d, 5, 0.5f);  // 30 seconds a step
  CViewState& s = d.State();
  const struct {
    int step, seconds, wantStep, wantSeconds;
  } cases[] = {
      {2, 10, 2, 10}, {-3, 5, 0, 5}, {2, 45, 2, 29}, {2, -4, 2, 0}, {5, 10, 5, 0}, {99, 0, 5, 0}, {4, 29, 4, 29},
  };
  for (const auto& c : cases) {
    Told told(s);
    s.SeekStep(c.step, c.seconds);
    EXPECT_EQ(s.Step(), c.wantStep) << c.step << "/" << c.seconds;
    EXPECT_EQ(s.StepSeconds(), c.wantSeconds) << c.step << "/" << c.seconds;
    EXPECT_EQ(told.clock, 1);
  }
  EXPECT_EQ(s.DrawnStep(), 4) << "at the end the last step stays drawn";
  Size(d, 0, 0.5f);
  EXPECT_EQ(s.DrawnStep(), -1) << "nothing to draw in a run without samples";
}

// The player's tick: `speed` seconds on, a step per P = round(dt × 60)
// seconds, at the intervals users meet; at the end it stops at N.
TEST(ViewState, AdvanceCountsSecondsAndStopsAtTheEnd) {
  const struct {
    float interval;
    int speed, ticks, wantStep, wantSeconds;
    bool playing;
  } cases[] = {
      {0.1f, 1, 5, 0, 5, true},                                          // 6 s a step
      {0.1f, 1, 6, 1, 0, true},                                          //
      {0.1f, 7, 1, 1, 1, true},                                          //
      {0.5f, 60, 4, 8, 0, true},                                         // 30 s a step: two steps a tick
      {0.5f, 600, 1, 10, 0, false},                                      // past the end: N, stopped
      {1.0f / 60, 1, 10, 10, 0, false}, {0.3333f, 1, 199, 9, 19, true},  // 20 s a step
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.interval << " x" << c.speed << " " << c.ticks);
    CSimulationData d;
    Size(d, 10, c.interval);
    CViewState& s = d.State();
    s.SetSpeed(c.speed);
    s.SetPlaying(true);
    for (int i = 0; i < c.ticks; ++i) {
      s.Advance();
    }
    EXPECT_EQ(s.Step(), c.wantStep);
    EXPECT_EQ(s.StepSeconds(), c.wantSeconds);
    EXPECT_EQ(s.Playing(), c.playing);
  }
}

TEST(ViewState, ASpeedNearTheLimitDoesNotWrapTheClock) {
  CSimulationData d;
  Size(d, 3, 1.0f);
  CViewState& s = d.State();
  s.SeekStep(1, 59);
  s.SetSpeed(INT_MAX);
  s.Advance();
  EXPECT_EQ(s.Step(), 3);
  EXPECT_EQ(s.StepSeconds(), 0);
}
