#pragma once
// The summary of a loaded run that `corvane --info` prints: as JSON for
// scripts, as a short table for people.

#include <QJsonObject>
#include <QString>

#include "MessageSink.h"

class CSimulationData;

QJsonObject BuildRunSummary(const CSimulationData& data, bool loaded,
                            const std::vector<CRecordingMessageSink::Entry>& messages);
QString FormatRunSummary(const QJsonObject& summary);
