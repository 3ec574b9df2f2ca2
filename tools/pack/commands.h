// The things vellum-pack does. Each throws ToolError on failure.
#pragma once

#include <filesystem>
#include <vector>

#include "pack_options.h"
#include "storage/archive_writer.h"

namespace vellum::pack {

void packScripts(const PackOptions& options);
// The script files under ROOT/script/ as `script` packs them (converted from UTF-8 when asked),
// leaving out `exclude`.
std::vector<ArchiveMember> scriptMembers(const std::filesystem::path& root, bool fromUtf8,
                                         const std::filesystem::path& exclude = {});
void packArchive(const PackOptions& options);
void listEntries(const PackOptions& options);
// Returns false when some entry with a known name could not be decoded (the others are written).
bool extractEntries(const PackOptions& options);
// Writes a starter game's source folder (templates, placeholder pictures and sounds).
void newGame(const PackOptions& options);
// Packs a game and bundles it with the engine and its libraries for players.
void distributeGame(const PackOptions& options);

}  // namespace vellum::pack
