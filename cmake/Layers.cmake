# The layers of the source, lowest first. Code in a folder of src/ may include
# headers of its own layer and of the layers below it, never of a layer above:
# the build stops before anything is compiled when an include runs back up
# (cmake/CheckLayers.cmake). A subsystem's widgets/ folder sits just above the
# subsystem's plain code and below the next layer.
#
# What each layer holds: a line "#- LAYER: text", continued on the lines
# "#  text" below it, in Markdown. scripts/layers-table.sh writes them, with
# the folders each layer has under src/, into the developers' guide's layer
# table (bash scripts/layers-graph.sh runs it); the ctest `guide` fails when
# the guide's table is not what it writes.
#
#- platform: the two seams to the desktop, `Platform.h` (message, input, file
#  and print dialogs, clipboard, settings, the busy cursor, the print and
#  preview surfaces) and `PrintSurface.h` (what every print surface does), and
#  their implementations: the desktop platform (`DesktopPlatform`, in
#  `widgets/`) and the scripted platform of the tests and of `tandor-batch`
#  (`ScriptedPlatform`), the character grid (`PrintGrid`) and the grid surface
#  with its two devices (`GridSurface`; `PrinterSurface`, QPainter on a
#  QPrinter or a PDF file; `RecordingSurface`, which keeps what was printed),
#  page painting for printer and screen (`PagePainting`), the progress of long
#  jobs (`JobProgressDialog`, in `widgets/`). They stand here because each
#  platform hands out the surfaces of its printer and the progress of its
#  jobs: had they stayed in `print`, the platforms would include a layer above
#  the seam they implement. Also errors (`AppError`, the standard error texts),
#  the fault points of the tests, numbers, the Windows-1252 text of records
#  (`Ansi`), the choice of the program folder (`ProgramFolders`), the font of
#  the contact list's columns (`ColumnFont`), the version; in `widgets/`, also
#  the control names and window conventions every window follows
#- print: the print engine on the surfaces of `platform`: the print job
#  (`PrintJob`), placing by the paper's edge (`PaperEdge`), the printer-error
#  message (`PrinterProblem`); in `widgets/`, the print preview
#  (`PrintPreviewDialog`)
#- store: the contact record, the contacts file (compaction, forcing to disk
#  (`ForceToDisk`), file errors), the rules of a stored birth date, the reminder switch, and the
#  contacts document (`ContactsDocument`)
#- sheets: the label sheets (`LabelSheet`): those the program is built with
#  (`builtin-sheets.xml`), the user's own and those of the installed
#  label-template library; the template format's one reader and one writer
#  (`SheetTemplateReader`, `SheetTemplateWriter`), the library of loaded
#  sheets that tells the windows when it is reloaded (`SheetLibrary`); the
#  sheets a user designs and their files (`SheetDesign`, `SheetDesignFile`),
#  finding a sheet by text or by the name given to `--sheet` and the recently
#  used sheets (`SheetSearch`), the printer models (`PrinterModels`), the print
#  adjustments of TDRPARAM.TXT (`AdjustmentFile`), the alignment sheet
#  (`AlignmentSheet`)
#- windowkit: the windows' kit, not to be taken for the application shell:
#  the help documents and look-up pages (`HelpLinks`), System Info; in
#  `widgets/`, what every window carries: the host interface (`WindowHost.h`),
#  the command runner (`CommandRunner`), the Help items and look-up buttons
#  (`ShellCommands`), the Edit menu (`EditCommands`, `ActiveControl`), the
#  about box, the program icon
#- contacts: the model of the two entry windows and their save pass
#  (`ContactEntry`), the label-line parse (`LineParser`), the browser's rules, the
#  details sheet, the birthday check, the browser's Print Label lines; in
#  `widgets/`, Add Contact and the new-contact form, the contact browser, the
#  birthday messages at File Open and Enable / Disable Birthday Reminders
#- list: the lines of the contact list, search and sort, tab stops, bulk
#  labels (`BulkLabels`), the printed list (`ListPrint`); in `widgets/`, the
#  contact list window and its model, the questions and messages of "Print
#  labels" (`BulkLabelsCommand`)
#- exchange: CSV and vCard import (a contact source per format, one import
#  run, the duplicate check `DuplicateCheck`) and export (a format per kind);
#  in `widgets/`, the import and export windows
#- sync: keeping a contacts file in step with a CardDAV address book: the
#  server as the sync sees it (`AddressBookServer`) and the CardDAV client
#  (`CardDavClient`, `DavTransport`, `DavXml`), the cards directly inside the
#  book (`BookMembership`), the link store beside the file (`SyncState`) kept
#  in step by `SyncStateKeeper`, the merge of a record with its card
#  (`CardMerge`, `CardLines`, `CardFields`), one sync (`Synchronizer`), its
#  summary and conflicts (`SyncSummary`, `ConflictChoice`), the password store
#  (`PasswordStore`) and what the windows use (`SyncSession`); in `widgets/`,
#  the account window, the conflicts window and Sync Now
#- compose: the main window's compose code: its composition state
#  (`CompositionState`) and handlers (`Composition`), the label-position rules
#  (`LabelPositions`) and the prompt's answers (`LabelPositionPrompt`), the runs of labels,
#  envelopes and return addresses (`PrintRuns`), the Print and Print Preview
#  commands (`PrintCommand`); in `widgets/`, the main window (`MainWindow.cpp`,
#  its controls and menus laid out in `MainWindowLayout.cpp`, its sheet picker
#  in `MainWindowSheets.cpp`), New Label Sheet (`NewSheetDialog`), the
#  label-position prompt (`LabelPositionCommand`) and the Margins commands
#  (`MarginsCommand`)
#- appshell: the application shell (`ApplicationShell`): it owns the contacts
#  document, holds the Platform and the settings, and does the navigation
#  between windows; the only code that knows every window
#- app: the programs: `tandor` (`main.cpp`, which builds the desktop platform
#  and the application shell), `tandor-batch` (`batch/`), `tandor-man` (the
#  manual pages) and `tandor-docs` (`docs/`: the help documents with pictures
#  of the windows)
set(TANDOR_LAYERS platform print store sheets windowkit contacts list exchange sync compose appshell app)
