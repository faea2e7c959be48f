# The demo model's driver package folder: its printer INF beside every file
# the INF copies (the model's files, the plug-in and the extension resource
# library), as a printer maker ships it.
set(ZD_DRIVER_SAMPLE_FILES
    ${CMAKE_SOURCE_DIR}/samples/zdcp95.inf ${CMAKE_SOURCE_DIR}/samples/zdcp95.cap
    ${CMAKE_SOURCE_DIR}/samples/zdcp95.ini ${CMAKE_SOURCE_DIR}/samples/zdcp95.ppd
    ${CMAKE_SOURCE_DIR}/samples/zdcp95.ver ${CMAKE_SOURCE_DIR}/samples/zdwmfont.dat
    ${CMAKE_SOURCE_DIR}/samples/zdccm.ini)

# zd_driver_folder(TARGET DIR): a target that fills DIR.
function(zd_driver_folder target dir)
    add_custom_command(
        OUTPUT ${dir}/zdcp95.inf
        COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
        COMMAND ${CMAKE_COMMAND} -E copy ${ZD_DRIVER_SAMPLE_FILES} $<TARGET_FILE:zdui>
                $<TARGET_FILE:zdaskres> ${dir}/
        DEPENDS zdui zdaskres ${ZD_DRIVER_SAMPLE_FILES}
        COMMENT "Driver package folder ${dir}")
    add_custom_target(${target} ALL DEPENDS ${dir}/zdcp95.inf)
endfunction()
