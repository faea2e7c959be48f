# The printer maker's package: the release DLL, the demo model's files as a
# template and the guide, zipped as build/package/zdui-<version>.zip.
set(ZD_PACKAGE_NAME zdui-${PROJECT_VERSION})
set(ZD_PACKAGE_DIR ${CMAKE_SOURCE_DIR}/build/package)
set(ZD_PACKAGE_ZIP ${ZD_PACKAGE_DIR}/${ZD_PACKAGE_NAME}.zip)
set(ZD_PACKAGE_STAGE ${CMAKE_BINARY_DIR}/stage)
set(ZD_MODEL_FILES
    ${CMAKE_SOURCE_DIR}/samples/zdcp95.cap ${CMAKE_SOURCE_DIR}/samples/zdcp95.ini
    ${CMAKE_SOURCE_DIR}/samples/zdcp95.ppd ${CMAKE_SOURCE_DIR}/samples/zdcp95.ver
    ${CMAKE_SOURCE_DIR}/samples/zdwmfont.dat ${CMAKE_SOURCE_DIR}/samples/zdccm.ini)
set(ZD_GUIDE ${CMAKE_SOURCE_DIR}/doc/printer-makers-guide.txt)

add_custom_command(
    OUTPUT ${ZD_PACKAGE_ZIP}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${ZD_PACKAGE_STAGE}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ZD_PACKAGE_STAGE}/${ZD_PACKAGE_NAME}/model
            ${ZD_PACKAGE_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:zdui> ${ZD_GUIDE}
            ${ZD_PACKAGE_STAGE}/${ZD_PACKAGE_NAME}/
    COMMAND ${CMAKE_COMMAND} -E copy ${ZD_MODEL_FILES} ${ZD_PACKAGE_STAGE}/${ZD_PACKAGE_NAME}/model/
    COMMAND ${CMAKE_COMMAND} -E rm -f ${ZD_PACKAGE_ZIP}
    COMMAND ${CMAKE_COMMAND} -E chdir ${ZD_PACKAGE_STAGE} ${CMAKE_COMMAND} -E tar cf
            ${ZD_PACKAGE_ZIP} --format=zip ${ZD_PACKAGE_NAME}
    DEPENDS zdui ${ZD_MODEL_FILES} ${ZD_GUIDE}
    COMMENT "Packaging ${ZD_PACKAGE_ZIP}")
add_custom_target(package_zip ALL DEPENDS ${ZD_PACKAGE_ZIP})

enable_testing()
add_test(NAME package_contents
         COMMAND bash ${CMAKE_SOURCE_DIR}/tests/package/package_contents_test.sh ${ZD_PACKAGE_ZIP}
                 ${PROJECT_VERSION})
