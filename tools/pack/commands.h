// The things vellum-pack does. Each throws ToolError on failure.
#pragma once

#include <filesystem>
#include <vector>

#include "pack_options.h"
#include "storage/archive_writer.h"
#include "tar_gz_writer.h"

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
// The game's files as dist ships them, under `prefix`: SRC packed from its sources, or a packed
// game folder without what the engine wrote there.
std::vector<BundleEntry> gameEntries(const PackOptions& options, const std::string& prefix);
// Packs a game with the engine built for the web and its page into a folder for a web host.
void publishForWeb(const PackOptions& options);

}  // namespace vellum::pack
