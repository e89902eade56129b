#pragma once
// The one in-memory record of a simulation run: the loaded tables and value
// ranges, what its views show with the player's clock, and the colours of
// every body part and fabric layer that follow from them.

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "ExactTables.h"
#include "MessageSink.h"
#include "PartColours.h"
#include "Rows.h"
#include "RunTables.h"
#include "ViewState.h"

// How much of a run a load reads: all of it, or the body and comfort files
// alone (with the environment and the ids) for outputs that show neither a
// fabric nor a fibre, such as a body or comfort chart or a study. A run read
// so lists no layers and no fibres. Or all of it but the fabric files, for a
// reader that takes those whole by its own means (FabricGridFile.h): a run
// read so lists no layers.
enum class LoadScope { Whole, BodyAndComfort, WithoutFabrics };

class CSimulationData {
 public:
  CSimulationData();
  ~CSimulationData();
  CSimulationData(const CSimulationData&) = delete;
  CSimulationData& operator=(const CSimulationData&) = delete;

  // Reads every data file of `dir` (ending with a separator). A failed load
  // may be followed by another; each starts from an empty store.
  bool Load(const QString& dir, LoadScope scope = LoadScope::Whole);
  bool LoadEnvironment();
  bool LoadFiberFile(const QString& name);
  bool LoadFabrics();
  bool LoadBodyProperties(const QString& name);
  bool LoadComfort();
  void LoadIds();

  // The run's tables, as the loader left them.
  const RunTables& Run() const { return m_run; }
  // What the views show and the player's clock.
  CViewState& State() { return m_state; }
  const CViewState& State() const { return m_state; }
  // The colours of the shown quantity at the drawn step, on the scale of
  // its range; worked out again when the quantity, the layer, the step or
  // the tables change.
  const PartColours& Colours() const;
  // The rows behind the colours of the drawn step: part p's body row, and
  // its layer `layer` (1-based) at the fabric step; null where there is none.
  const BodyPropertyRow* BodyRowAt(int part) const;
  const FabricRow* LayerRowAt(int part, int layer) const;

  // The run's values as its files wrote them (ExactTables.h), for writers:
  // each table read from its file when first asked for, and kept until the
  // next load. Null for tables not loaded from files.
  const CExactTables* Exact() const { return m_pExact.get(); }
  CExactTables* Exact() { return m_pExact.get(); }
  // Whether a load reads the files' own values too, in the same pass as the
  // floats, so that Exact() holds every table once it is done: for a holder
  // of them all (the Python module). Off, a writer's table is read when it
  // is first asked for.
  void SetReadExact(bool on) { m_bReadExact = on; }

  void SetMessageSink(IMessageSink* sink);

 private:
  friend class CStoreEditor;  // tests build tables and colours by hand through it
  struct Prefetched;
  struct ColourKey {
    int content = -1, layer = -1, step = -1;
    unsigned generation = 0;
    bool operator==(const ColourKey&) const = default;
  };
  void Prefetch(const QStringList& fiberFiles, LoadScope scope);
  void Reset();
  void Recolour(const ColourKey& key) const;
  void Report(const QString& caption, const QString& text, MessageIcon icon = MessageIcon::Error);
  void ReportUnreadable(const char* caption);
  QString PathOf(const QString& name) const { return m_run.m_strDataDir + name; }

  RunTables m_run;
  unsigned m_nGeneration = 0;  // counts changes of m_run: a new one outdates the colours
  CViewState m_state{m_run};
  mutable PartColours m_colours;
  mutable ColourKey m_colourKey;
  IMessageSink* m_pSink;
  std::unique_ptr<Prefetched> m_pPrefetched;  // files parsed ahead, during Load only
  std::unique_ptr<CExactTables> m_pExact;     // once loaded
  bool m_bReadExact = false;
  std::unique_ptr<ExactTablesRead> m_pReadAhead;  // what a load reads of them, during Load only
};

// Message texts shared by the loader and its tests.
namespace LoadMessages {
inline constexpr const char* kUnreadable = "Some data can not be read!";
inline constexpr const char* kNoEnvironment = "No data or incorrect format in environment data file!";
inline constexpr const char* kTooManyPhases =
    "Only the first 10 environment phases are used; the further rows of configure.dat are ignored.";
inline constexpr const char* kNoBody = "No data or incorrect format in body property data file!";
inline constexpr const char* kNoComfort = "No data or incorrect format in BodyDataforComfort data file!";
inline constexpr const char* kNoIds = "No data or incorrect format in id data file!";
inline constexpr const char* kFiberSuffix = " format is incorrect!";
inline constexpr const char* kCannotRead = " can not be read!";  // after a file name
}  // namespace LoadMessages
