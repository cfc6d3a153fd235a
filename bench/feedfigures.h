#pragma once
// The live feed's figures: how long a change of the score box takes to reach a
// WebSocket client, and what the feed adds to a refresh with 32 clients.

// Prints feed_latency_ms_p50/_p99/_max and feed_refresh_cost_us_p50/_p99.
void printFeedFigures(int changes);
// From a remote command's sending to the score box showing it, with the feed's
// places taken by live viewers.
void printControlFigures(int commands);
