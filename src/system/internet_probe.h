// Whether the internet can be reached, by opening a well-known web page.
#pragma once

// True when the page could be opened; an error inside the attempt is not held against the
// connection.
bool IsInternetAvailable();

// What the probe opens: a plain-http home page that is always there.
constexpr char kInternetProbeAgent[] = "Setup";
constexpr char kInternetProbeUrl[] = "http://www.example.com/";
