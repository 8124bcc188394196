# The layers of the source, lowest first. Code in a folder of src/ may include
# headers of its own layer and of the layers below it, never of a layer above:
# the build stops before anything is compiled when an include runs back up
# (cmake/CheckLayers.cmake). A subsystem's widgets/ folder sits just above the
# subsystem's plain code and below the next layer.
#
#   platform  the Platform seam and its two platforms, the print surfaces and their grid, errors, numbers
#   print     the print engine: the job, placing by the paper's edge, printer problems, the preview
#   store     the contacts file, its records and field rules, the contacts document
#   sheets    label sheets, printer models, print adjustments, the alignment sheet
#   windowkit what every window carries: the window host, Help, About, the Edit menu
#   contacts  contact entry, the browser, the details sheet, birthdays
#   list      the contact list, its printed report and bulk labels
#   exchange  CSV and vCard import and export
#   sync      keeping a contacts file in step with a CardDAV address book
#   compose   the main window: the compose form, label positions and runs, its print commands
#   appshell  the application shell: the document, settings and navigation between windows
#   app       the programs: tandor, tandor-batch, tandor-docs
set(TANDOR_LAYERS platform print store sheets windowkit contacts list exchange sync compose appshell app)
