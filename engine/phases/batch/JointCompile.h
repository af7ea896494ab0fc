// Many independent items, each of which the compiler accepts or rejects on its own, judged
// from a few compiles of one source instead of one compile each.
//
// The items are compiled together. When the compiler accepts the source, it accepts every
// item. When it rejects it, its error messages name the lines, and so the items, that it
// rejects; those are taken out and the rest is compiled again, until the compiler accepts
// what is left. The rejected items are then compiled once more, together, in the reverse
// order and with a separator after each, so that each has other neighbours before it and
// an error that runs on past its item shows on a separator: an item rejected only because
// of what stood before it passes there, and stays a suspect, for the caller to test alone.
// Those rejected again, each at its own line and after a separator that compiled, count as
// rejected (those a compiler that stopped early did not reach, or that follow an error that
// ran on, are checked again). An error in the check that belongs to no item, or an item
// blamed while nothing stood before it that then passes (a compiler that names the wrong
// lines), leaves every rejected item a suspect. Whatever cannot be
// told this way (an error on a line of no item, in another file or with no location) is left
// undecided, and so is a single item: its own test is as cheap. Two items that a note ties
// together (a name declared twice) are suspects; the compile still tells about the others.
//
// A compiler that stops at its first error, or whose recovery from one error swallows the
// next, names one rejected item per compile. Going on then costs a compile for each rejected
// item, and another for its check: worth it where the caller's own test of an undecided item
// is a halving that costs several compiles each, but not where it is a single compile per
// item, accepted or not (then such a compiler leaves the batch undecided after two compiles
// that each name one item).
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "engine/phases/batch/BatchSource.h"
#include "engine/probe/Probe.h"

enum class Judgement { Accepted, Rejected, Suspect, Undecided };

struct JointVerdicts {
    std::vector<Judgement> Verdicts;  // one per item
    std::vector<std::string> Said;    // per item: the messages about its lines, from every compile
    std::string SaidElsewhere;        // messages about no item's lines, from every compile
    long Compiles = 0;
    // An item blamed for an error while it came first, that passes alone: the compiler's
    // messages name other lines than the ones it rejects, and tell little about any batch.
    // (An item rejected only because of what stood before it is a fault of that neighbour,
    // and tells nothing about the compiler.)
    bool Misled = false;
};

// items: how many; build(order, separated): the source that holds the items of order, in
// that order, with a separator after each when asked (a shared line that compiles only where
// the item before it left the compiler in a clean state); compile: the compiler's answer.
using BatchBuilder = std::function<BatchSource(const std::vector<std::size_t>& order, bool separated)>;
// read: the length of the longest source the compiler was shown to read to its end (see
// kEndOfSourceControl), shared by the batches of one kind; an accepted source no longer
// than that needs no control of its own. Without it, every accepted source is controlled.
using ReadLength = std::atomic<std::size_t>;
enum class LoneRejections { GiveUp, GoOn };
JointVerdicts JudgeTogether(std::size_t items, const BatchBuilder& build,
                            const std::function<CompileResult(const BatchSource&)>& compile, ReadLength* read = nullptr,
                            LoneRejections lone = LoneRejections::GiveUp);

// Lines that every compiler rejects, to put at the end of a source the compiler accepted: a
// compiler that silently stops reading a long source accepts these too, and then no part of
// the source's acceptance is an answer. A compiler stops so past some length: once a source
// is shown read to its end, shorter ones are taken as read too.
extern const char* const kEndOfSourceControl;

// True when the accepted source is known to be read to its end, or its copy with the control
// at its end is rejected (then read grows to its length). reach: the length of the longest
// source the caller will ask about; the control is padded to it, so that one control serves
// them all.
bool ReadToItsEnd(const std::string& source, ReadLength& read, const std::function<bool(const std::string&)>& accepts,
                  std::size_t reach = 0);
