#include "BatchFile.h"

#include <toml++/toml.h>

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <charconv>
#include <map>
#include <optional>

#include "RunComparison.h"

namespace {
// The options each kind of output takes, as the command line names them.
const std::map<QString, QStringList>& OptionsOf() {
  static const std::map<QString, QStringList> options = {
      {QStringLiteral("figure"),
       {"option", "quantity", "all-parts", "compare", "difference", "profile-at", "size", "width-mm", "dpi"}},
      {QStringLiteral("csv"), {"option", "quantity", "all-parts", "compare", "difference", "profile-at"}},
      {QStringLiteral("screenshot"),
       {"view", "option", "quantity", "step", "content", "layer", "section", "frame", "size", "window",
        "outlined-labels", "model-service", "profile-at", "compare", "difference"}},
      {QStringLiteral("movie"), {"view", "content", "layer", "section", "size", "speed", "fps", "outlined-labels"}},
      {QStringLiteral("study"), {}},
  };
  return options;
}

// The command-line option of each kind.
QString CommandOf(const QString& kind) {
  return kind == QLatin1String("csv") ? QStringLiteral("--export-csv") : QStringLiteral("--") + kind;
}

QString Quoted(const QString& s) { return QLatin1Char('"') + s + QLatin1Char('"'); }

// A TOML value as the command line's text: numbers as written (a float at
// its shortest), strings as they are, arrays parted by commas; empty for
// what no option takes (a table, a date).
std::optional<QString> ValueText(const toml::node& node) {
  if (const auto* i = node.as_integer()) {
    return QString::number(i->get());
  }
  if (const auto* f = node.as_floating_point()) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, f->get()).ptr;
    return QString::fromLatin1(text, static_cast<int>(end - text));
  }
  if (const auto* s = node.as_string()) {
    return QString::fromStdString(s->get());
  }
  if (const auto* a = node.as_array()) {
    QStringList parts;
    for (const toml::node& element : *a) {
      if (element.is_array() || element.is_table()) {
        return std::nullopt;
      }
      const std::optional<QString> text = ValueText(element);
      if (!text) {
        return std::nullopt;
      }
      parts << *text;
    }
    return parts.join(QLatin1Char(','));
  }
  return std::nullopt;
}
}  // namespace

QString BatchOutput::Name() const {
  return QStringLiteral("output %1 (%2 = %3)").arg(number).arg(kind, Quoted(QFileInfo(file).fileName()));
}

BatchFile ReadBatchFile(const QString& path) {
  BatchFile batch;
  const QFileInfo info(path);
  if (!info.isFile() || !info.isReadable()) {
    batch.error = QStringLiteral("there is no batch file %1").arg(Quoted(path));
    return batch;
  }
  toml::table root;
  try {
    root = toml::parse_file(QFile::encodeName(path).toStdString());
  } catch (const toml::parse_error& e) {
    batch.error =
        QStringLiteral("%1 is no TOML file: %2 (line %3, column %4)")
            .arg(info.fileName(), QString::fromUtf8(e.description().data(), static_cast<int>(e.description().size())))
            .arg(e.source().begin.line)
            .arg(e.source().begin.column);
    return batch;
  }
  const QDir base = info.absoluteDir();
  auto absolute = [&](const QString& p) { return QDir::cleanPath(base.absoluteFilePath(p)); };
  for (const auto& [key, node] : root) {
    if (key != "output") {
      batch.error = QStringLiteral("%1: unknown key %2; a batch file holds [[output]] tables")
                        .arg(info.fileName(), Quoted(QString::fromStdString(std::string(key.str()))));
      return batch;
    }
  }
  const toml::array* outputs = root["output"].as_array();
  if (!outputs || outputs->empty()) {
    batch.error = QStringLiteral("%1 lists no [[output]]").arg(info.fileName());
    return batch;
  }
  QSet<QString> files;
  int number = 0;
  for (const toml::node& element : *outputs) {
    ++number;
    const toml::table* table = element.as_table();
    const QString where = QStringLiteral("%1: output %2").arg(info.fileName()).arg(number);
    if (!table) {
      batch.error = where + QStringLiteral(" is no table");
      return batch;
    }
    BatchOutput out;
    out.number = number;
    for (const auto& [kind, options] : OptionsOf()) {
      if (!table->contains(kind.toStdString())) {
        continue;
      }
      if (!out.kind.isEmpty()) {
        batch.error = where + QStringLiteral(
                                  " names both %1 and %2; an output is one of figure, csv, screenshot, "
                                  "movie or study")
                                  .arg(out.kind, kind);
        return batch;
      }
      out.kind = kind;
    }
    if (out.kind.isEmpty()) {
      batch.error = where + QStringLiteral(" names no file to write: one of figure, csv, screenshot, movie or study");
      return batch;
    }
    const toml::node* file = table->get(out.kind.toStdString());
    if (!file->is_string() || file->as_string()->get().empty()) {
      batch.error = where + QStringLiteral(", key %1: a file name in quotes").arg(Quoted(out.kind));
      return batch;
    }
    out.file = absolute(QString::fromStdString(file->as_string()->get()));
    const QString named = out.Name();
    const QString at = QStringLiteral("%1: %2").arg(info.fileName(), named);
    if (!QFileInfo(QFileInfo(out.file).absolutePath()).isDir()) {
      batch.error = at + QStringLiteral(", key %1: there is no folder %2 to write it in")
                             .arg(Quoted(out.kind), Quoted(QFileInfo(out.file).absolutePath()));
      return batch;
    }
    if (files.contains(out.file)) {
      batch.error = at + QStringLiteral(": another output writes this file too");
      return batch;
    }
    files.insert(out.file);
    if (out.kind == QLatin1String("study")) {
      // A study's runs, a row each: `runs`, and nothing else.
      for (const auto& [keyName, value] : *table) {
        const QString key = QString::fromStdString(std::string(keyName.str()));
        if (key != QLatin1String("study") && key != QLatin1String("runs")) {
          batch.error =
              at + QStringLiteral(", key %1: a study takes its runs (runs = [...]) and nothing else").arg(Quoted(key));
          return batch;
        }
      }
      const toml::array* list = table->get_as<toml::array>("runs");
      if (!list || list->empty() || !list->is_homogeneous(toml::node_type::string)) {
        batch.error = at + QStringLiteral(", key \"runs\": the runs' folders in quotes, a list of one or more");
        return batch;
      }
      QStringList dirs;
      for (const toml::node& d : *list) {
        const QString dir = absolute(QString::fromStdString(d.as_string()->get()));
        if (!QFileInfo(dir).isDir()) {
          batch.error = at + QStringLiteral(", key \"runs\": there is no folder %1").arg(Quoted(dir));
          return batch;
        }
        dirs << dir;
      }
      out.run = dirs.front();
      out.compared = dirs.mid(1);
      out.arguments = QStringList{QStringLiteral("corvane"), QStringLiteral("--study"), out.file} + dirs;
      batch.outputs.push_back(std::move(out));
      continue;
    }
    const toml::node* run = table->get("run");
    if (!run || !run->is_string()) {
      batch.error = at + QStringLiteral(", key \"run\": the run's folder in quotes is missing");
      return batch;
    }
    out.run = absolute(QString::fromStdString(run->as_string()->get()));
    if (!QFileInfo(out.run).isDir()) {
      batch.error = at + QStringLiteral(", key \"run\": there is no folder %1").arg(Quoted(out.run));
      return batch;
    }
    out.arguments = QStringList{QStringLiteral("corvane"), CommandOf(out.kind), out.file};
    const QStringList& allowed = OptionsOf().at(out.kind);
    for (const auto& [keyName, value] : *table) {
      const QString key = QString::fromStdString(std::string(keyName.str()));
      if (key == out.kind || key == QLatin1String("run")) {
        continue;
      }
      if (!allowed.contains(key)) {
        batch.error = at + QStringLiteral(", key %1: %2 takes no such option (it takes %3)")
                               .arg(Quoted(key), out.kind, QStringList(allowed).join(QStringLiteral(", ")));
        return batch;
      }
      // A switch is there when true.
      static const QStringList kSwitches = {"all-parts", "difference", "window", "outlined-labels"};
      if (value.is_boolean() != kSwitches.contains(key)) {
        batch.error = at + (value.is_boolean() ? QStringLiteral(", key %1: a value, not true or false")
                                               : QStringLiteral(", key %1: true or false"))
                               .arg(Quoted(key));
        return batch;
      }
      if (value.is_boolean()) {
        if (value.as_boolean()->get()) {
          out.arguments << QStringLiteral("--") + key;
        }
        continue;
      }
      if (key == QLatin1String("compare")) {
        QStringList dirs;
        if (const auto* s = value.as_string()) {
          dirs << QString::fromStdString(s->get());
        } else if (const auto* a = value.as_array()) {
          for (const toml::node& d : *a) {
            if (!d.is_string()) {
              batch.error = at + QStringLiteral(", key \"compare\": run folders in quotes");
              return batch;
            }
            dirs << QString::fromStdString(d.as_string()->get());
          }
        }
        if (dirs.isEmpty() || dirs.size() >= kMaxRuns) {
          batch.error =
              at + QStringLiteral(", key \"compare\": one to %1 run folders to compare with").arg(kMaxRuns - 1);
          return batch;
        }
        for (const QString& d : dirs) {
          const QString dir = absolute(d);
          if (!QFileInfo(dir).isDir()) {
            batch.error = at + QStringLiteral(", key \"compare\": there is no folder %1").arg(Quoted(dir));
            return batch;
          }
          out.compared << dir;
          out.arguments << QStringLiteral("--compare") << dir;
        }
        continue;
      }
      if (key == QLatin1String("quantity")) {
        auto fromZero = [](const toml::node& n) { return n.is_integer() && n.as_integer()->get() >= 0; };
        bool whole = fromZero(value);
        if (const auto* a = value.as_array()) {
          whole = !a->empty() && std::all_of(a->begin(), a->end(), fromZero);
        }
        if (!whole) {
          batch.error = at + QStringLiteral(", key \"quantity\": a quantity from 0, or a list of them ([0, 1])");
          return batch;
        }
      }
      const std::optional<QString> text = ValueText(value);
      if (!text || (value.is_array() && key != QLatin1String("quantity"))) {
        batch.error = at + QStringLiteral(", key %1: a number or a text, not %2")
                               .arg(Quoted(key), value.is_array() ? QStringLiteral("a list") : QStringLiteral("that"));
        return batch;
      }
      out.arguments << QStringLiteral("--") + key << *text;
    }
    out.arguments << out.run;
    batch.outputs.push_back(std::move(out));
  }
  return batch;
}
