#pragma once

#include "bridge/bridge_config.h"
#include "bridge/mqtt_client.h"
#include "bridge/state_topics.h"

#include <QList>

namespace vandorelle::bridge {

// The home-automation discovery documents of one controller: the device, a cover per motor
// it has (and an empty document, which removes the entity, for every motor beyond), the
// sensors and binary sensors of the poll answer, connectivity, the wind-maximum reset and the
// switch that leaves the port to another program. Unique ids are made of the bridge's id and
// the entity's name, so they stay the same from run to run.
QList<Publication> discoveryDocuments(const BridgeConfig &config, const ControllerSnapshot &s);

} // namespace vandorelle::bridge
