#pragma once

// The length lists of the multi-frequency calculation and its distance
// filter, on their own so that the two filter variants can be compared.

#include <QtGlobal>

#include <vector>

namespace varo {

// Collects the quarter-wave multiples of one frequency: lengths
// qi × j × Vk for j = 1 … ni, odd j appended to `unguenstig`, even j to
// `kandidaten`. Nothing for ni < 1.
void mehrereLaengenSammeln(qint32 ni, float viertelWelle, float vk, std::vector<float> &unguenstig,
                           std::vector<float> &kandidaten);

// Removes (sets to 0) every candidate greater than 0 that lies in the
// closed window from y − w to y + w (bounds in single precision) of some
// unfavourable length y greater than 0. O(n log n): the unfavourable
// lengths are sorted once and each candidate looks up the first window
// whose upper bound reaches it.
void abstandsfilter(std::vector<float> &kandidaten, const std::vector<float> &unguenstig, float w);

// The most lengths one report lists: its positions are 16-bit.
inline constexpr qint64 MaxErgebnisLaengen = 32767;

} // namespace varo
