# Run by cpack on its staging folder before it packs: strips the programs in bin/ of
# their symbols and of the .comment and .note sections, as Debian's dh_strip does.
file(GLOB programs LIST_DIRECTORIES false "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr/bin/*")
if(NOT programs)
  message(FATAL_ERROR "strip-package.cmake: no program in ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr/bin")
endif()
foreach(program IN LISTS programs)
  execute_process(COMMAND "${CPACK_RAVLET_STRIP}" --remove-section=.comment --remove-section=.note "${program}"
                  COMMAND_ERROR_IS_FATAL ANY)
endforeach()
