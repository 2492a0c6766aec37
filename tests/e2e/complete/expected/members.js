const memberKindNames = "const\nenum\nstruct\nvar\nfunction\nevent\ndelegate\noperator\npreoperator\npostoperator\n";
const memberPrefixes = "const-\nenum-\nstruct-\nvar-\nfn-\nfn-\nfn-\nfn-\nfn-\nfn-\n";
const memberKinds = "decdddeaabbcddddddddegeddefhijefe";
const memberCounts = "2,5,16,7,1,1,1,";
const memberNames = "Lost\nCut\nPair\nPair.L\nPair.R\nWings\nFly\nMaxLegs\nGreeting\nEMood\nEGait\nWound\nWound.Depth\nWound.Cause\nSpeed\nTurnRate\nLeader\nGait\nKin\nNick\nPostArrive\nOnWake\nTouched\nLocation\nMass\nWalk\nTouched\n==\n!\n++\nWake\nLanded\nWake\n";
const memberAnchors = "27,fn--3d3d\n28,fn--21\n29,fn--2b2b\n";
