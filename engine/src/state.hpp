#pragma once

// Values shared between the per-reading calculation, the objective `fobj`
// and the root finder `zbrent`. They are plain module-level storage: the
// driver stores the reading's times, the calculation stores `romax` and
// `romed`, and `zbrent` raises `iwarn` when its two ends show no sign change.
namespace velpra {

inline float romax = 0.0f;
inline float romed = 0.0f;
inline float tmed = 0.0f;
inline float tmax = 0.0f;
inline int iwarn = 0;

}  // namespace velpra
