# Collects the sources of every subsystem folder below DIR (one level deep), so a
# new file or subsystem joins its layer's library without editing this build.
function(tork_collect_sources out dir)
  file(GLOB_RECURSE _files CONFIGURE_DEPENDS
    "${dir}/*.cpp" "${dir}/*.h")
  set(${out} ${_files} PARENT_SCOPE)
endfunction()
