#pragma once

#include <cstdint>

class bxKivnetSocket;
class bxArtNetSocket;
class exUpdateSocket;
class exMainFrame;

// Application-wide values: the three endpoints, the main window, the two switches of the control
// panel, the display scale and whether Art-Net is used. One set for the whole process, reached
// directly from everywhere.
struct exAppState {
    static inline bxKivnetSocket* kivnetSocket = nullptr;
    static inline exUpdateSocket* updateSocket = nullptr;
    static inline bxArtNetSocket* artNetSocket = nullptr;
    static inline exMainFrame* mainFrame = nullptr;
    static inline uint8_t autoScan = 0;
    static inline uint8_t autoSend = 0;
    static inline float scaleFactor = 1.0f;
    // Started with --no-artnet: no Art-Net endpoint, no ArtPoll, device IDs unknown.
    static inline bool artNetOff = false;
};
