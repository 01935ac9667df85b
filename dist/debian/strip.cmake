# Run by CPack on the staged files before it packs them: strips the programs as
# Debian's dh_strip does, without the sections that only name the compiler.
file(GLOB programs LIST_DIRECTORIES false "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr/*/wendlewick*")
foreach(program ${programs})
  execute_process(
    COMMAND strip --strip-unneeded --remove-section=.comment --remove-section=.note ${program}
    COMMAND_ERROR_IS_FATAL ANY)
endforeach()
