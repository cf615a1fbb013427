tsim = 1.0000e-03
td = 1.0000e-06
points = 9999999
% Circuit name : /home/user/mul

% Circuit Description
X = [ 'R1        1   0   1.0000e+00                 '   % R1
      'V#M1      2   0   1.0000e+00     1.0000e+00     I01  I02  '   % MUL1
      'R2        2   0   1.0000e+00                 '   % R2
      'I01       1   0   0.0000e+00                 '  
      'I02       -1  0   0.0000e+00                 ' ]

% Output Description
Y = [ 'V         I01                                '  
      'V         I02                                ' ]

% Number of nodes
numn = 3;
