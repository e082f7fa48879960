# Checks the order in which apply writes and syncs its files, from a list of
# its calls made by apply-syncs.sh (strace) or apply-flushes.sh (wine), one a
# line: "backup H" and "map H" (the backup created, the map opened, as handle
# H), "write H", "sync H", "close H". The backup must be synced once before
# the first byte of the map is written, and the map once after the last.
function fail(why) { print "apply: " why; failed = 1; exit 1 }
$1 == "backup" { backup = $2; backupOpen = 1; next }
$1 == "map" { map = $2; next }
$1 == "close" && backupOpen && $2 == backup { backupOpen = 0; next }
$1 == "sync" && backupOpen && $2 == backup {
  if (mapWrites) fail("the backup was synced after the map was written")
  ++backupSyncs; next
}
$1 == "sync" && map != "" && $2 == map { ++mapSyncs; next }
$1 == "write" && map != "" && $2 == map {
  if (backupSyncs != 1) fail("the map was written with " backupSyncs + 0 " syncs of its backup before it")
  if (mapSyncs) fail("the map was written after its sync")
  ++mapWrites; next
}
END {
  if (failed) exit 1
  if (backup == "") { print "apply: no backup was created"; exit 1 }
  if (backupSyncs != 1) { print "apply: the backup was synced " backupSyncs + 0 " times"; exit 1 }
  if (mapWrites != writes) { print "apply: the map was written " mapWrites + 0 " times, not " writes; exit 1 }
  if (mapSyncs != 1) { print "apply: the map was synced " mapSyncs + 0 " times after its writes, not once"; exit 1 }
  print "backup synced once before the map was written; map synced once after its writes"
}
