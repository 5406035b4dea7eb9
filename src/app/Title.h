#pragma once

// The application's title: its task-bar caption and the title of its error boxes.
inline constexpr char ApplicationTitle[] = "Kalvora - Lite Version";

// The version the about box shows, and --version prints.
inline constexpr char ApplicationVersion[] = "1.0 Beta";
