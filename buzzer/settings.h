// Where the buzzer finds its files and its console. The program uses its own
// folder and the protocol's port; tests hand in a scratch folder and the port
// of a stand-in console.
#pragma once

#include "text.h"
#include "wire.h"

struct BuzzerSettings {
    text::Text folder;         // holds ip.txt and back.jpg, no trailing "/"
    int port = wire::kPort;    // the console's port
};
