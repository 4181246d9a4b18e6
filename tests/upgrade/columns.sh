# shellcheck shell=bash
# What the upgrade guarantees, for the tests that run it (sourced): its columns, and the fields
# and dumps a table has once they are added.

# The columns the upgrade guarantees, in the order of its checks, with their type letter and
# size as pdxadmin lists them (the engine stores a short integer in 2 bytes, a long one in 4).
COLUMNS='Subject.DB PHY_STATE_COUNTRY A 50
Subject.DB MAIL_STATE_COUNTRY A 50
Subject.DB EIN I 4
Subject.DB Truck_Units I 4
Subject.DB Bus_Units I 4
Subject.DB Mail_Street A 50
Subject.DB Mail_City A 25
Subject.DB Mail_State A 2
Subject.DB Mail_Zip_Code A 10
Subject.DB Revocation_Date A 10
Subject.DB Revocation_Rescinded_Date A 10
Subject.DB New_Entrant_Code A 1
Subject.DB New_Entrant_Entry_Date A 10
Subject.DB New_Entrant_Exit_Date A 10
Subject.DB New_Entrant_Code_Desc A 50
Subject.DB MSG_BIENNIAL A 120
Crashes.DB RealRepNum A 12
CrashDriver.DB RealRepNum A 12
CrashDriver.DB DViols S 2
CrashSummary.DB CYear A 4
CrashSeq.DB RealRepNum A 12
Inspections.DB RealRepNum A 12
InspDriver.DB RealRepNum A 12
InspDriver.DB DViols S 2
InspCarrier.DB RealRepNum A 12
InspCarrier.DB Vin A 17
InspCarrier.DB Company_Number2 A 15
InspCarrier.DB Unit2 A 15
InspCarrier.DB LicNum2 A 12
InspCarrier.DB Vin2 A 17
InspCarrier.DB Company_Number3 A 15
InspCarrier.DB Unit3 A 15
InspCarrier.DB LicNum3 A 12
InspCarrier.DB Vin3 A 17
InspCarrier.DB Company_Number4 A 15
InspCarrier.DB Unit4 A 15
InspCarrier.DB LicNum4 A 12
InspCarrier.DB Vin4 A 17
InspCarrier.DB Company_Number5 A 15
InspCarrier.DB Unit5 A 15
InspCarrier.DB LicNum5 A 12
InspCarrier.DB Vin5 A 17
InspCarrier.DB Company_Number6 A 15
InspCarrier.DB Unit6 A 15
InspCarrier.DB LicNum6 A 12
InspCarrier.DB Vin6 A 17
CrashVeh.DB RealRepNum A 12
CrashVeh.DB Unit2 A 15
CrashVeh.DB LicNum2 A 12
CrashVeh.DB Unit3 A 15
CrashVeh.DB LicNum3 A 12
CrashVeh.DB Unit4 A 15
CrashVeh.DB LicNum4 A 12
CrashVeh.DB Unit5 A 15
CrashVeh.DB LicNum5 A 12
CrashVeh.DB Unit6 A 15
CrashVeh.DB LicNum6 A 12
Insp_Viols.DB RealRepNum A 12
Insp_Viols.DB Post_Crash_Flag A 10
Profiles.DB Version A 6
Basics.DB Basics_Name A 64'
readarray -t TABLES < <(awk '!seen[$1]++ { print $1 }' <<<"$COLUMNS")
# missing <table> <field lines>: the listed columns of the table that the field lines lack
# (names compared in any letter case), in list order: name, type letter, size.
missing() {
    awk -v t="$1" -v lines="$2" '
        BEGIN {
            while ((getline line < lines) > 0) {
                split(line, w, "\t")
                have[toupper(w[3])] = 1
            }
        }
        $1 == t && !(toupper($2) in have) { print $2, $3, $4 }' <<<"$COLUMNS"
}

# want_dump <table> <field lines before> <dump before> [<columns>]: the dump after a complete
# upgrade, every record with one NULL per added column; or, with <columns>, after only that many
# of the table's missing columns were added.
want_dump() {
    missing "$1" "$2" | head -n "${4:-1000}" | awk -v dump="$3" '
        { code = $2 == "A" ? "01" : $2 == "S" ? "03" : "04"; add[++k] = $1 " " code " " $3 }
        END {
            for (i = 1; i <= k; i++)
                nulls = nulls "|NULL"
            while ((getline line < dump) > 0) {
                split(line, w, " ")
                if (++nr == 1) {
                    nf = w[2]
                    print "fields " nf + k " records " w[4] " keys " w[6]
                } else if (nr <= nf + 1) {
                    print line
                    for (i = 1; nr == nf + 1 && i <= k; i++)
                        print "field " nf + i " " add[i]
                } else {
                    print line nulls
                }
            }
        }'
}
